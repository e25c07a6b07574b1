#include "widgets/ScrollBar.h"

#include "widgets/FormParts.h"

namespace zirpel {

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
