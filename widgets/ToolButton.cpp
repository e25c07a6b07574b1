#include "widgets/ToolButton.h"

#include <QPainter>

namespace zirpel {

void ToolButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame inside the button's edges, as the scroll bar draws it.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

} // namespace zirpel
