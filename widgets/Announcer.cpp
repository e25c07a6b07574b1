#include "widgets/Announcer.h"

#include "widgets/StringGrid.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace zirpel {

namespace {

// The notification a screen reader reads out when it is shown.
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

// The object a screen reader follows while `focus` has the focus.
QWidget* Followed(QWidget* focus) {
    if (auto* box = qobject_cast<QComboBox*>(focus); box && box->lineEdit())
        return box->lineEdit();
    return focus;
}

} // namespace

void Announcer::say(QWidget* focus, const QString& text) {
    clear();
    if (!focus)
        return;
    told_ = Followed(focus);
    // A list whose current entry has just gone (the list was emptied) still has the
    // focus, but a reader still follows the entry: it is told that the list has it.
    if (QAccessibleInterface* list = QAccessible::queryAccessibleInterface(told_.data());
        QAccessible::isActive() && list && list->role() == QAccessible::List &&
        !list->focusChild()) {
        QAccessibleEvent event(told_.data(), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
    if (auto* grid = qobject_cast<StringGrid*>(told_.data()))
        grid->describeCurrentCell(text);
    else
        told_->setAccessibleDescription(text);
    if (!QAccessible::isActive())
        return;
    if (!notice_ || notice_->window() != focus->window()) {
        static const bool installed = [] {
            QAccessible::installFactory(NoticeFactory);
            return true;
        }();
        Q_UNUSED(installed);
        delete notice_;
        notice_ = new Notice(focus->window());
    }
    notice_->setAccessibleName(text);
    QAccessibleEvent shown(notice_.data(), QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void Announcer::clear() {
    if (auto* grid = qobject_cast<StringGrid*>(told_.data()))
        grid->describeCurrentCell(QString());
    else if (told_)
        told_->setAccessibleDescription(QString());
    told_ = nullptr;
}

} // namespace zirpel
