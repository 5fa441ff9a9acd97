#include "track/NearestCity.h"

#include "track/GeonamesLibrary.h"
#include "track/Track.h"

#include <algorithm>
#include <cmath>
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
    void operator()(GeonamesCity* city) const { Geonames()->geonames_city_free(city); }
};
using CityPtr = std::unique_ptr<GeonamesCity, CityFree>;

// Metres per degree along a meridian, a little less than on the sphere DistanceMetres uses,
// so that a band's distance is never more than the true one.
constexpr double kMetresPerDegree = 111000;

// The list's coordinates by latitude, read once: a look-up walks out from its own latitude
// and stops when a whole band is farther than the best city found.
const std::vector<City>& CitiesByLatitude() {
    static std::vector<City> cities;
    static std::once_flag once;
    std::call_once(once, [] {
        const GeonamesLibrary* geo = Geonames();
        const int n = geo ? geo->geonames_get_n_cities() : 0;
        cities.reserve(n > 0 ? n : 0);
        for (int i = 0; i < n; ++i) {
            const CityPtr city(geo->geonames_get_city(i));
            if (city)
                cities.push_back({geo->geonames_city_get_latitude(city.get()),
                                  geo->geonames_city_get_longitude(city.get()), i});
        }
        std::sort(cities.begin(), cities.end(),
                  [](const City& a, const City& b) { return a.latitude < b.latitude; });
    });
    return cities;
}

QString Text(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

std::optional<NearbyCity> NearestCity(double latitude, double longitude) {
    if (!std::isfinite(latitude) || !std::isfinite(longitude))
        return std::nullopt;
    const std::vector<City>& cities = CitiesByLatitude();
    const auto start = std::lower_bound(cities.begin(), cities.end(), latitude,
                                        [](const City& c, double lat) { return c.latitude < lat; });
    const City* best = nullptr;
    double bestDistance = 0;
    auto consider = [&](const City& c) {
        const double d = DistanceMetres(latitude, longitude, c.latitude, c.longitude);
        if (!best || d < bestDistance) {
            best = &c;
            bestDistance = d;
        }
    };
    // Upwards and downwards in latitude, each until the band alone is farther than the best.
    for (auto it = start; it != cities.end(); ++it) {
        if (best && (it->latitude - latitude) * kMetresPerDegree > bestDistance)
            break;
        consider(*it);
    }
    for (auto it = start; it != cities.begin();) {
        --it;
        if (best && (latitude - it->latitude) * kMetresPerDegree > bestDistance)
            break;
        consider(*it);
    }
    if (!best)
        return std::nullopt;
    // Found in the list, so the library is there.
    const GeonamesLibrary& geo = *Geonames();
    const CityPtr city(geo.geonames_get_city(best->index));
    if (!city)
        return std::nullopt;
    NearbyCity found;
    found.name = Text(geo.geonames_city_get_name(city.get()));
    found.state = Text(geo.geonames_city_get_state(city.get()));
    found.country = Text(geo.geonames_city_get_country(city.get()));
    found.countryCode = Text(geo.geonames_city_get_country_code(city.get()));
    found.zoneId = QByteArray(geo.geonames_city_get_timezone(city.get()));
    found.distanceMetres = bestDistance;
    return found;
}
