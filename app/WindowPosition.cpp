#include "app/WindowPosition.h"

#include <algorithm>

QPoint ApplyPositionRule(int x, int y, int monitors, int screenWidth, int screenHeight) {
    constexpr int kFallback = 30;
    constexpr int kMargin = 20;
    if (x < 0 || y < 0)
        return QPoint(kFallback, kFallback);
    if (monitors == 1 && (x > screenWidth - kMargin || y > screenHeight - kMargin))
        return QPoint(kFallback, kFallback);
    return QPoint(x, y);
}

namespace {

int PlaceOnLine(int wanted, int size, int start, int length) {
    if (size >= length)
        return start;
    return std::clamp(wanted, start, start + length - size);
}

} // namespace

QPoint PlaceOnScreen(const QRect& screen, const QSize& size, const QPoint& wanted) {
    return QPoint(PlaceOnLine(wanted.x(), size.width(), screen.left(), screen.width()),
                  PlaceOnLine(wanted.y(), size.height(), screen.top(), screen.height()));
}
