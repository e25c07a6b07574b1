// Says a result to a screen reader where it listens, without moving the focus. The word
// becomes the description of the object the reader follows (the focused control; for an
// entry with a list, the text inside it; for a grid, its current cell), where a reader
// hears of the change and finds it again; and it is shown to the reader, and only to it,
// as a notification, which readers that do not present such a change speak at once.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace zirpel {

class Announcer {
public:
    Announcer() = default;
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    ~Announcer();

    // Describes what `focus` stands for with `text`, once the previous word is taken back.
    void say(QWidget* focus, const QString& text);
    // Takes the last word back, so that it is not read again with its control; so does
    // the control when it loses the focus.
    void clear();

private:
    QPointer<QWidget> told_;
    QMetaObject::Connection left_;
};

} // namespace zirpel
