#pragma once

#include "track/Track.h"

#include <optional>
#include <vector>

enum class MatchKind {
    Interpolated, // between two points of one segment, or exactly at a point
    NearestPoint, // the nearest point in time, within the largest gap
    NoMatch,      // no point within the largest gap
};

struct MatchResult {
    MatchKind kind = MatchKind::NoMatch;
    double latitude = 0;
    double longitude = 0;
    std::optional<double> elevation;
    // Time from the asked time to the nearest timed point; -1 when no point has a time.
    qint64 nearestOffMs = -1;
};

// Where and when a track passed closest to a place.
struct TrackPass {
    qint64 utcMs = 0;
    double latitude = 0;
    double longitude = 0;
    double distanceMetres = 0;
};

// Places times on the timed points of some tracks. The points are copied and sorted once;
// each look-up is then a binary search, so matching many pictures never compares every
// picture with every point.
class TrackMatcher {
public:
    explicit TrackMatcher(const std::vector<const Track*>& tracks);

    bool HasTimes() const { return !m_index.empty(); }

    // The position at utcMs: interpolated between two points of the same segment that are at
    // most largestGapMs apart, else the nearest point if within largestGapMs, else none.
    MatchResult Match(qint64 utcMs, qint64 largestGapMs) const;

    // The moment the tracks passed closest to a place: the nearest point, or the nearest
    // place on the line between two points of a segment at most largestGapMs apart, with the
    // time interpolated along it. Nothing when no point has a time.
    std::optional<TrackPass> ClosestPass(double latitude, double longitude,
                                         qint64 largestGapMs) const;

private:
    struct Entry {
        qint64 ms;
        quint32 segment;
        quint32 point;
    };
    const TrackPoint& At(const Entry& e) const { return m_segments[e.segment][e.point]; }

    std::vector<TrackSegment> m_segments; // timed points only, each segment in time order
    std::vector<Entry> m_index;           // every timed point, in time order
};

// The point between a and b at fraction f of the way, longitude the short way round.
MatchResult Interpolate(const TrackPoint& a, const TrackPoint& b, double f);
