#include "track/TrackDrawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

std::vector<std::size_t> PointsToDraw(const TrackSegment& segment, double toleranceDegrees) {
    const std::size_t n = segment.size();
    if (n <= 2) {
        std::vector<std::size_t> all(n);
        for (std::size_t i = 0; i < n; ++i)
            all[i] = i;
        return all;
    }
    const double scale = std::cos(segment[0].latitude * M_PI / 180.0);
    auto x = [&](std::size_t i) {
        return LongitudeDelta(segment[0].longitude, segment[i].longitude) * scale;
    };
    auto y = [&](std::size_t i) { return segment[i].latitude; };
    const double tolerance2 = toleranceDegrees * toleranceDegrees;

    // Douglas-Peucker with a stack of its own, so a long track cannot exhaust the call stack,
    // on pieces of at most kPiece points, so that no track shape makes it slow.
    constexpr std::size_t kPiece = 4096;
    std::vector<bool> keep(n, false);
    std::vector<std::pair<std::size_t, std::size_t>> stack;
    for (std::size_t first = 0; first + 1 < n; first += kPiece) {
        const std::size_t last = std::min(first + kPiece, n - 1);
        keep[first] = keep[last] = true;
        stack.push_back({first, last});
    }
    while (!stack.empty()) {
        const auto [first, last] = stack.back();
        stack.pop_back();
        const double ax = x(first), ay = y(first);
        const double dx = x(last) - ax, dy = y(last) - ay;
        const double length2 = dx * dx + dy * dy;
        double worst = -1;
        std::size_t worstAt = first;
        for (std::size_t i = first + 1; i < last; ++i) {
            const double px = x(i) - ax, py = y(i) - ay;
            double d2;
            if (length2 <= 0) {
                d2 = px * px + py * py;
            } else {
                const double f = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
                const double ex = px - f * dx, ey = py - f * dy;
                d2 = ex * ex + ey * ey;
            }
            if (d2 > worst) {
                worst = d2;
                worstAt = i;
            }
        }
        if (worst > tolerance2) {
            keep[worstAt] = true;
            if (worstAt - first > 1)
                stack.push_back({first, worstAt});
            if (last - worstAt > 1)
                stack.push_back({worstAt, last});
        }
    }
    std::vector<std::size_t> drawn;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i])
            drawn.push_back(i);
    return drawn;
}
