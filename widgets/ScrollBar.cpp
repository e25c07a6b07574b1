#include "widgets/ScrollBar.h"

#include "widgets/FormParts.h"

#include <QAccessibleWidget>

namespace zirpel {

namespace {

QAccessibleInterface* ScrollBarFactory(const QString& key, QObject* object) {
    // The key is the class name with its namespace.
    if (key != QLatin1String(ScrollBar::staticMetaObject.className()))
        return nullptr;
    auto* bar = qobject_cast<ScrollBar*>(object);
    return bar ? new QAccessibleWidget(bar, QAccessible::ScrollBar) : nullptr;
}

} // namespace

ScrollBar::ScrollBar(QWidget* parent) : QScrollBar(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(ScrollBarFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    // Over the arrows and the track alike, however the focus came.
    PaintFocusFrame(this);
}

// The style repaints nothing when the focus comes or goes.
void ScrollBar::focusInEvent(QFocusEvent* event) {
    QScrollBar::focusInEvent(event);
    update();
}

void ScrollBar::focusOutEvent(QFocusEvent* event) {
    QScrollBar::focusOutEvent(event);
    update();
}

} // namespace zirpel
