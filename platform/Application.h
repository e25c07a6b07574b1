// The application object: shows an exception that escapes an event handler in a box
// titled "Zirpel", and the program goes on.
#pragma once

#include <QApplication>

namespace zirpel {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The toolkit's exception report: a message box titled "Zirpel" with the text.
void ShowExceptionReport(const QString& text);

} // namespace zirpel
