#include "platform/ReaderNotice.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace zirpel {

namespace {

// Never shown on the screen; a reader is told it was.
class Notice : public QWidget {
public:
    explicit Notice(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("Notice"));
        hide();
    }
};

class NoticeAccessible : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QWidget* notice)
        : QAccessibleWidget(notice, QAccessible::Notification) {}
};

QAccessibleInterface* NoticeFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QWidget"))
        return nullptr;
    auto* notice = dynamic_cast<Notice*>(object);
    return notice ? new NoticeAccessible(notice) : nullptr;
}

} // namespace

void NotifyReader(QWidget* window, const QString& text) {
    if (!window || !QAccessible::isActive())
        return;
    static const bool installed = [] {
        QAccessible::installFactory(NoticeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    Notice* notice = nullptr;
    for (QObject* child : window->children())
        if ((notice = dynamic_cast<Notice*>(child)))
            break;
    if (!notice)
        notice = new Notice(window);
    notice->setAccessibleName(text);
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace zirpel
