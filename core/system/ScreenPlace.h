// Where a window's outer rectangle stands against the available areas of the screens.
// Edges are added in 64 bits: any 32-bit place, a stored one included, is judged right.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zirpel {

// True when a window of outer size `size` with its outer top left at `topLeft` shares at
// least one pixel with one of `areas`.
[[nodiscard]] bool MeetsAnyArea(QPoint topLeft, QSize size, const QList<QRect>& areas);

// The outer top left that brings `outer` inside `area` with the least move: an edge that
// fits stays where it is, and a window wider or taller than the area keeps its left or top
// edge on the area's, so its title bar and menu stay in reach.
[[nodiscard]] QPoint KeepInside(const QRect& outer, const QRect& area);

} // namespace zirpel
