// GLib's headers name a member "signals", which Qt defines as a macro: include them first.
#include <geonames.h>

#include "track/TrackZone.h"

#include <memory>
#include <mutex>
#include <vector>

namespace {

struct City {
    double latitude;
    double longitude;
    int index;
};

struct CityFree {
    void operator()(GeonamesCity* city) const { geonames_city_free(city); }
};
using CityPtr = std::unique_ptr<GeonamesCity, CityFree>;

// The list's coordinates, read once: a look-up then walks an array of 24,000 cities.
const std::vector<City>& Cities() {
    static std::vector<City> cities;
    static std::once_flag once;
    std::call_once(once, [] {
        const int n = geonames_get_n_cities();
        cities.reserve(n > 0 ? n : 0);
        for (int i = 0; i < n; ++i) {
            const CityPtr city(geonames_get_city(i));
            if (city)
                cities.push_back({geonames_city_get_latitude(city.get()),
                                  geonames_city_get_longitude(city.get()), i});
        }
    });
    return cities;
}

QString Text(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

std::optional<CityZone> NearestCityZone(double latitude, double longitude) {
    const City* best = nullptr;
    double bestDistance = 0;
    for (const City& city : Cities()) {
        const double d = DistanceMetres(latitude, longitude, city.latitude, city.longitude);
        if (!best || d < bestDistance) {
            best = &city;
            bestDistance = d;
        }
    }
    if (!best)
        return std::nullopt;
    const CityPtr city(geonames_get_city(best->index));
    if (!city)
        return std::nullopt;
    CityZone zone;
    zone.zoneId = QByteArray(geonames_city_get_timezone(city.get()));
    const QString name = Text(geonames_city_get_name(city.get()));
    const QString country = Text(geonames_city_get_country(city.get()));
    zone.city = country.isEmpty() ? name : name + QStringLiteral(", ") + country;
    zone.distanceMetres = bestDistance;
    if (zone.zoneId.isEmpty())
        return std::nullopt;
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
