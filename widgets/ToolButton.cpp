#include "widgets/ToolButton.h"

#include "widgets/FormParts.h"

namespace zirpel {

void ToolButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    PaintFocusFrame(this);
}

} // namespace zirpel
