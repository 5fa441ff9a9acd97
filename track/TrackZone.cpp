#include "track/TrackZone.h"

#include "track/NearestCity.h"

std::optional<CityZone> NearestCityZone(double latitude, double longitude) {
    const auto city = NearestCity(latitude, longitude);
    if (!city || city->zoneId.isEmpty())
        return std::nullopt;
    CityZone zone;
    zone.zoneId = city->zoneId;
    zone.city =
        city->country.isEmpty() ? city->name : city->name + QStringLiteral(", ") + city->country;
    zone.distanceMetres = city->distanceMetres;
    return zone;
}

std::optional<TrackPoint> TrackStart(const Track& track) {
    std::optional<TrackPoint> first;
    for (const TrackSegment& segment : track.segments)
        for (const TrackPoint& p : segment) {
            if (p.HasTime() && (!first || !first->HasTime() || p.utcMs < first->utcMs))
                first = p;
            else if (!first)
                first = p;
        }
    return first;
}
