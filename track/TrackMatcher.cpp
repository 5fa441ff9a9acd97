#include "track/TrackMatcher.h"

#include <algorithm>
#include <cmath>

TrackMatcher::TrackMatcher(const std::vector<const Track*>& tracks) {
    for (const Track* track : tracks) {
        for (const TrackSegment& segment : track->segments) {
            TrackSegment timed;
            for (const TrackPoint& p : segment)
                if (p.HasTime())
                    timed.push_back(p);
            if (timed.empty())
                continue;
            // Devices write points in time order; a file that does not is put in order.
            std::stable_sort(
                timed.begin(), timed.end(),
                [](const TrackPoint& a, const TrackPoint& b) { return a.utcMs < b.utcMs; });
            m_segments.push_back(std::move(timed));
        }
    }
    std::size_t count = 0;
    for (const TrackSegment& s : m_segments)
        count += s.size();
    m_index.reserve(count);
    for (quint32 s = 0; s < m_segments.size(); ++s)
        for (quint32 p = 0; p < m_segments[s].size(); ++p)
            m_index.push_back({m_segments[s][p].utcMs, s, p});
    std::stable_sort(m_index.begin(), m_index.end(),
                     [](const Entry& a, const Entry& b) { return a.ms < b.ms; });
}

MatchResult Interpolate(const TrackPoint& a, const TrackPoint& b, double f) {
    MatchResult r;
    r.kind = MatchKind::Interpolated;
    r.nearestOffMs = 0;
    r.latitude = a.latitude + f * (b.latitude - a.latitude);
    r.longitude = a.longitude + f * LongitudeDelta(a.longitude, b.longitude);
    if (r.longitude > 180 || r.longitude < -180)
        r.longitude = NormalLongitude(r.longitude);
    if (a.HasElevation() && b.HasElevation())
        r.elevation = a.elevation + f * (b.elevation - a.elevation);
    return r;
}

namespace {

MatchResult AtPoint(const TrackPoint& p, MatchKind kind, qint64 offMs) {
    MatchResult r;
    r.kind = kind;
    r.latitude = p.latitude;
    r.longitude = p.longitude;
    if (p.HasElevation())
        r.elevation = p.elevation;
    r.nearestOffMs = offMs;
    return r;
}

} // namespace

MatchResult TrackMatcher::Match(qint64 utcMs, qint64 largestGapMs) const {
    if (m_index.empty())
        return {};
    const auto it = std::lower_bound(m_index.begin(), m_index.end(), utcMs,
                                     [](const Entry& e, qint64 ms) { return e.ms < ms; });
    if (it != m_index.end() && it->ms == utcMs)
        return AtPoint(At(*it), MatchKind::Interpolated, 0);

    // The tightest pair of one segment around utcMs starts at the last point before it or
    // ends at the first point after it (tracks of several devices may overlap in time).
    const TrackPoint* bestA = nullptr;
    const TrackPoint* bestB = nullptr;
    auto consider = [&](const TrackPoint& a, const TrackPoint& b) {
        const qint64 gap = b.utcMs - a.utcMs;
        if (a.utcMs < utcMs && utcMs < b.utcMs && gap <= largestGapMs &&
            (!bestA || gap < bestB->utcMs - bestA->utcMs)) {
            bestA = &a;
            bestB = &b;
        }
    };
    if (it != m_index.begin()) {
        const Entry& before = *(it - 1);
        const TrackSegment& segment = m_segments[before.segment];
        if (before.point + 1 < segment.size())
            consider(segment[before.point], segment[before.point + 1]);
    }
    if (it != m_index.end() && it->point > 0) {
        const TrackSegment& segment = m_segments[it->segment];
        consider(segment[it->point - 1], segment[it->point]);
    }
    if (bestA) {
        const double f = static_cast<double>(utcMs - bestA->utcMs) /
                         static_cast<double>(bestB->utcMs - bestA->utcMs);
        return Interpolate(*bestA, *bestB, f);
    }

    const Entry* nearest = nullptr;
    qint64 off = 0;
    if (it != m_index.end()) {
        nearest = &*it;
        off = it->ms - utcMs;
    }
    if (it != m_index.begin() && (!nearest || utcMs - (it - 1)->ms <= off)) {
        nearest = &*(it - 1);
        off = utcMs - nearest->ms;
    }
    if (off <= largestGapMs)
        return AtPoint(At(*nearest), MatchKind::NearestPoint, off);
    MatchResult none;
    none.nearestOffMs = off;
    return none;
}

std::optional<TrackPass> TrackMatcher::ClosestPass(double latitude, double longitude,
                                                   qint64 largestGapMs) const {
    if (m_index.empty())
        return std::nullopt;
    // A flat picture around the place, in degrees of latitude: fine for choosing the
    // closest piece of a track; the distance reported is the great-circle one.
    const double xScale = std::cos(latitude * M_PI / 180.0);
    auto x = [&](const TrackPoint& p) { return LongitudeDelta(longitude, p.longitude) * xScale; };
    auto y = [&](const TrackPoint& p) { return p.latitude - latitude; };

    double best = -1;
    TrackPass pass;
    auto take = [&](double d2, qint64 ms, double lat, double lon) {
        if (best < 0 || d2 < best) {
            best = d2;
            pass.utcMs = ms;
            pass.latitude = lat;
            pass.longitude = lon;
        }
    };
    for (const TrackSegment& segment : m_segments) {
        for (std::size_t i = 0; i < segment.size(); ++i) {
            const TrackPoint& a = segment[i];
            const double ax = x(a), ay = y(a);
            take(ax * ax + ay * ay, a.utcMs, a.latitude, a.longitude);
            if (i + 1 == segment.size() || segment[i + 1].utcMs - a.utcMs > largestGapMs)
                continue;
            const TrackPoint& b = segment[i + 1];
            const double dx = x(b) - ax, dy = y(b) - ay;
            const double length2 = dx * dx + dy * dy;
            if (length2 <= 0)
                continue;
            const double f = -(ax * dx + ay * dy) / length2;
            if (f <= 0 || f >= 1)
                continue;
            const double px = ax + f * dx, py = ay + f * dy;
            const MatchResult on = Interpolate(a, b, f);
            take(px * px + py * py,
                 a.utcMs + std::llround(f * static_cast<double>(b.utcMs - a.utcMs)), on.latitude,
                 on.longitude);
        }
    }
    pass.distanceMetres = DistanceMetres(latitude, longitude, pass.latitude, pass.longitude);
    return pass;
}
