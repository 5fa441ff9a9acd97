#pragma once

#include "track/Track.h"

#include <QString>
#include <QTimeZone>

#include <optional>
#include <vector>

// What a picture says of where and when it was taken.
struct PictureFix {
    QString name;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::optional<double> altitude;
    QString gpsTime;  // UTC by the GPS clock, "YYYY:MM:DD HH:MM:SS[.fff]", or empty
    QString dateTime; // the camera's own clock, as gpsTime
    QString offset;   // its zone, "+02:00", or empty
};

struct PicturesTrack {
    Track track;            // one point per usable picture, in time order
    QStringList byOwnClock; // names placed by their own clock, having no GPS time
    int withoutTime = 0;    // pictures with a position but no time at all
};

// The pictures that have a position become a track for the others: each at its GPS time,
// else at its own time read in its own offset, else in zone. Two pictures of one moment
// give one point.
PicturesTrack BuildPicturesTrack(const std::vector<PictureFix>& pictures, const QTimeZone& zone);
