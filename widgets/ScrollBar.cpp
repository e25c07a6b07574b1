#include "widgets/ScrollBar.h"

#include <QPainter>

namespace zirpel {

void ScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame inside the edges, over the arrows and the track alike, however the
    // focus came: the styles draw none for a scroll bar.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
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
