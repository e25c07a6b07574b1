#include "widgets/LongText.h"

#include <QPainter>

namespace zirpel {

void DrawLongText(QPainter& painter, qreal left, qreal right, qreal baseline, const QString& text,
                  qreal width) {
    // A glyph's ink may reach the end of its advance: a text exactly as wide as the room
    // would touch the cell's edge, so it is narrowed too.
    const qreal room = right - left - 2;
    if (width < room) {
        painter.drawText(QPointF(right - 1 - width, baseline), text);
        return;
    }
    painter.save();
    painter.translate(left + 1, baseline);
    painter.scale(room / width, 1);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

} // namespace zirpel
