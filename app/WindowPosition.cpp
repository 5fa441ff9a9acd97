#include "app/WindowPosition.h"

QPoint ApplyPositionRule(int x, int y, int monitors, int screenWidth, int screenHeight) {
    constexpr int kFallback = 30;
    constexpr int kMargin = 20;
    if (x < 0 || y < 0)
        return QPoint(kFallback, kFallback);
    if (monitors == 1 && (x > screenWidth - kMargin || y > screenHeight - kMargin))
        return QPoint(kFallback, kFallback);
    return QPoint(x, y);
}
