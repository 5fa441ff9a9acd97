#pragma once

#include <QPoint>

// Where the main window opens: the stored position, or (30, 30) when that position is
// unusable. A negative coordinate is always unusable; with exactly one monitor so is one
// beyond the screen less 20 pixels. Several monitors may lie anywhere, so no upper bound.
QPoint ApplyPositionRule(int x, int y, int monitors, int screenWidth, int screenHeight);
