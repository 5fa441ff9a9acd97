#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A city of the offline list (libgeonames), with how far a point is from it.
struct NearbyCity {
    QString name;
    QString state;
    QString country;
    QString countryCode;
    QByteArray zoneId;
    double distanceMetres = 0;
};

// The city of the list nearest to the point; nothing when the point is not a number or the
// list is empty.
std::optional<NearbyCity> NearestCity(double latitude, double longitude);
