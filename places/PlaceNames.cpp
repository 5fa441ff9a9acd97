#include "places/PlaceNames.h"

#include "track/NearestCity.h"

std::optional<PlaceName> NearestPlaceName(double latitude, double longitude, double maxCityMetres) {
    const auto city = NearestCity(latitude, longitude);
    if (!city || city->distanceMetres > 4 * maxCityMetres)
        return std::nullopt;
    PlaceName name;
    name.state = city->state;
    name.country = city->country;
    name.countryCode = city->countryCode;
    if (city->distanceMetres <= maxCityMetres) {
        name.city = city->name;
        name.distanceMetres = city->distanceMetres;
    }
    return name;
}
