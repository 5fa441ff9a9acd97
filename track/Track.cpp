#include "track/Track.h"

#include <algorithm>

namespace {
constexpr double kEarthRadiusMetres = 6371008.8;
constexpr double kRadiansPerDegree = M_PI / 180.0;
} // namespace

double DistanceMetres(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kRadiansPerDegree;
    const double p2 = lat2 * kRadiansPerDegree;
    const double dp = p2 - p1;
    const double dl = LongitudeDelta(lon1, lon2) * kRadiansPerDegree;
    const double a = std::sin(dp / 2) * std::sin(dp / 2) +
                     std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2 * kEarthRadiusMetres * std::asin(std::min(1.0, std::sqrt(a)));
}

double LongitudeDelta(double a, double b) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180)
        d -= 360;
    else if (d < -180)
        d += 360;
    return d;
}

double NormalLongitude(double longitude) {
    double l = std::fmod(longitude + 180.0, 360.0);
    if (l < 0)
        l += 360;
    return l - 180.0;
}

TrackSummary Summarize(const Track& track) {
    TrackSummary summary;
    for (const TrackSegment& segment : track.segments) {
        for (std::size_t i = 0; i < segment.size(); ++i) {
            const TrackPoint& p = segment[i];
            ++summary.points;
            if (p.HasTime()) {
                ++summary.timedPoints;
                if (summary.firstMs == TrackPoint::kNoTime || p.utcMs < summary.firstMs)
                    summary.firstMs = p.utcMs;
                if (summary.lastMs == TrackPoint::kNoTime || p.utcMs > summary.lastMs)
                    summary.lastMs = p.utcMs;
            }
            if (i > 0)
                summary.lengthMetres += DistanceMetres(
                    segment[i - 1].latitude, segment[i - 1].longitude, p.latitude, p.longitude);
        }
    }
    return summary;
}
