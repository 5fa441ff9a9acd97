#include "track/PicturesTrack.h"

#include "track/PictureTime.h"

#include <QCoreApplication>

#include <algorithm>

PicturesTrack BuildPicturesTrack(const std::vector<PictureFix>& pictures, const QTimeZone& zone) {
    PicturesTrack result;
    TrackSegment points;
    for (const PictureFix& p : pictures) {
        if (!p.latitude || !p.longitude)
            continue;
        // The GPS clock is UTC whatever the camera's says.
        std::optional<qint64> ms = WallClockMs(p.gpsTime);
        if (!ms) {
            ms = PictureUtcMs({p.dateTime, p.offset}, zone, 0);
            if (!ms) {
                ++result.withoutTime;
                continue;
            }
            result.byOwnClock << p.name;
        }
        TrackPoint point;
        point.latitude = *p.latitude;
        point.longitude = *p.longitude;
        if (p.altitude)
            point.elevation = *p.altitude;
        point.utcMs = *ms;
        points.push_back(point);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const TrackPoint& a, const TrackPoint& b) { return a.utcMs < b.utcMs; });
    points.erase(
        std::unique(points.begin(), points.end(),
                    [](const TrackPoint& a, const TrackPoint& b) { return a.utcMs == b.utcMs; }),
        points.end());
    result.track.name = QCoreApplication::translate("PicturesTrack", "Pictures with positions");
    if (!points.empty())
        result.track.segments.push_back(std::move(points));
    return result;
}
