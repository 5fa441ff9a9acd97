#pragma once

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

// One recorded position. A point without a time is kept for drawing only; a point without
// an elevation has NaN there.
struct TrackPoint {
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

    double latitude = 0;
    double longitude = 0;
    double elevation = std::numeric_limits<double>::quiet_NaN();
    qint64 utcMs = kNoTime; // milliseconds since 1970-01-01 UTC

    bool HasTime() const { return utcMs != kNoTime; }
    bool HasElevation() const { return !std::isnan(elevation); }
};

// Points recorded without a break between them.
using TrackSegment = std::vector<TrackPoint>;

struct Track {
    QString name;
    QString fileName;
    std::vector<TrackSegment> segments;
};

struct TrackSummary {
    int points = 0;
    int timedPoints = 0;
    qint64 firstMs = TrackPoint::kNoTime; // earliest and latest time, kNoTime when none
    qint64 lastMs = TrackPoint::kNoTime;
    double lengthMetres = 0; // along each segment, not across the breaks
};

TrackSummary Summarize(const Track& track);

// Great-circle distance in metres.
double DistanceMetres(double lat1, double lon1, double lat2, double lon2);

// b - a in degrees of longitude, the short way round (across the date line when shorter).
double LongitudeDelta(double a, double b);

// A longitude brought back within [-180, 180].
double NormalLongitude(double longitude);
