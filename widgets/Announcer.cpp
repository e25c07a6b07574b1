#include "widgets/Announcer.h"

#include "platform/ReaderNotice.h"
#include "widgets/StringGrid.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace zirpel {

namespace {

// The object a screen reader follows while `focus` has the focus.
QWidget* Followed(QWidget* focus) {
    if (auto* box = qobject_cast<QComboBox*>(focus); box && box->lineEdit())
        return box->lineEdit();
    return focus;
}

} // namespace

Announcer::~Announcer() {
    QObject::disconnect(left_);
}

void Announcer::say(QWidget* focus, const QString& text) {
    clear();
    if (!focus)
        return;
    told_ = Followed(focus);
    if (auto* grid = qobject_cast<StringGrid*>(told_.data()))
        grid->describeCurrentCell(text);
    else
        told_->setAccessibleDescription(text);
    // A list whose current entry has just gone (the list was emptied) still has the
    // focus, but a reader still follows the entry: it is told that the list has it, and
    // reads the list with its new description.
    if (QAccessibleInterface* list =
            QAccessible::isActive() ? QAccessible::queryAccessibleInterface(told_.data()) : nullptr;
        list && list->role() == QAccessible::List && !list->focusChild()) {
        QAccessibleEvent event(told_.data(), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    } else {
        NotifyReader(focus->window(), text);
    }
    left_ = QObject::connect(qApp, &QApplication::focusChanged, told_.data(),
                             [this](QWidget* old, QWidget*) {
                                 if (old && (old == told_ || old->isAncestorOf(told_)))
                                     clear();
                             });
}

void Announcer::clear() {
    QObject::disconnect(left_);
    if (auto* grid = qobject_cast<StringGrid*>(told_.data()))
        grid->describeCurrentCell(QString());
    else if (told_)
        told_->setAccessibleDescription(QString());
    told_ = nullptr;
}

} // namespace zirpel
