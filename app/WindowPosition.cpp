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

QRect LargestFreeRect(const QRect& screen, const QRect& occupied) {
    const QRect taken = screen.intersected(occupied);
    if (taken.isEmpty())
        return screen;
    const QRect sides[] = {
        QRect(QPoint(taken.right() + 1, screen.top()), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(taken.left() - 1, screen.bottom())),
        QRect(QPoint(screen.left(), taken.bottom() + 1), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(screen.right(), taken.top() - 1)),
    };
    QRect best;
    for (const QRect& side : sides) {
        const qint64 area = side.isValid() ? qint64(side.width()) * side.height() : 0;
        if (area > qint64(best.width()) * best.height())
            best = side;
    }
    return best;
}
