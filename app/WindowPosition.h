#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the main window opens: the stored position, or (30, 30) when that position is
// unusable. A negative coordinate is always unusable; with exactly one monitor so is one
// beyond the screen less 20 pixels. Several monitors may lie anywhere, so no upper bound.
QPoint ApplyPositionRule(int x, int y, int monitors, int screenWidth, int screenHeight);

// Where a window of size (its frame included) goes so that it lies wholly within screen,
// a screen's available geometry: the wanted place, moved in no farther than it takes. A
// window wider or taller than the screen starts at its left or top edge.
QPoint PlaceOnScreen(const QRect& screen, const QSize& size, const QPoint& wanted);

// The largest part of screen (an available geometry) beside occupied (another window's
// frame) that does not overlap it: right of it, left, below or above. The whole screen when
// occupied lies off it.
QRect LargestFreeRect(const QRect& screen, const QRect& occupied);
