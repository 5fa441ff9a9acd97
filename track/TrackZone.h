#pragma once

#include "track/Track.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct CityZone {
    QByteArray zoneId; // IANA name, "Europe/Berlin"
    QString city;      // "Berlin, Germany"
    double distanceMetres = 0;
};

// The zone of the city nearest to a place, from the offline city list on this computer
// (every city of 15,000 people or more). Nothing when the list cannot be read.
std::optional<CityZone> NearestCityZone(double latitude, double longitude);

// Where a track's own zone is looked up: its first timed point, else its first point.
std::optional<TrackPoint> TrackStart(const Track& track);
