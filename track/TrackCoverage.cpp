#include "track/TrackCoverage.h"

#include <algorithm>

std::vector<std::pair<qint64, qint64>> CoveredSpans(const Track& track, qint64 largestGapMs) {
    std::vector<std::pair<qint64, qint64>> spans;
    std::vector<qint64> times;
    for (const TrackSegment& segment : track.segments) {
        times.clear();
        for (const TrackPoint& point : segment)
            if (point.HasTime())
                times.push_back(point.utcMs);
        // Points written out of order still cover the same time.
        std::sort(times.begin(), times.end());
        for (std::size_t i = 0; i < times.size(); ++i) {
            if (i == 0 || times[i] - times[i - 1] > largestGapMs)
                spans.emplace_back(times[i], times[i]);
            else
                spans.back().second = times[i];
        }
    }
    std::sort(spans.begin(), spans.end());
    return spans;
}
