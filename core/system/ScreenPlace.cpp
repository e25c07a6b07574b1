#include "core/system/ScreenPlace.h"

namespace zirpel {

bool MeetsAnyArea(QPoint topLeft, QSize size, const QList<QRect>& areas) {
    const qint64 left = topLeft.x();
    const qint64 top = topLeft.y();
    const qint64 right = left + size.width(); // one past the last column
    const qint64 bottom = top + size.height();
    for (const QRect& a : areas) {
        const qint64 aRight = qint64(a.x()) + a.width();
        const qint64 aBottom = qint64(a.y()) + a.height();
        if (left < aRight && a.x() < right && top < aBottom && a.y() < bottom)
            return true;
    }
    return false;
}

namespace {

// One axis: the start that puts [start, start + length) inside [areaStart, areaEnd).
qint64 Inside(qint64 start, qint64 length, qint64 areaStart, qint64 areaEnd) {
    if (start + length > areaEnd)
        start = areaEnd - length;
    return start < areaStart ? areaStart : start;
}

} // namespace

QPoint KeepInside(const QRect& outer, const QRect& area) {
    return QPoint(
        int(Inside(outer.x(), outer.width(), area.x(), qint64(area.x()) + area.width())),
        int(Inside(outer.y(), outer.height(), area.y(), qint64(area.y()) + area.height())));
}

} // namespace zirpel
