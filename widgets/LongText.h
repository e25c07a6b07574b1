// Drawing a text too long for its cell, as a decimal address of nine or ten digits is in
// the address column and in the hit list.
#pragma once

#include <QtGlobal>

class QPainter;
class QString;

namespace zirpel {

// Draws text, width pixels wide in the painter's font, on the baseline of a cell from left
// to right, keeping one pixel free on either side: it gives up the rest of its left margin
// first and ends a pixel before the cell's right edge; one still too wide is drawn
// narrower, scaled horizontally, so that every digit shows whole and none touches the
// next cell.
void DrawLongText(QPainter& painter, qreal left, qreal right, qreal baseline, const QString& text,
                  qreal width);

} // namespace zirpel
