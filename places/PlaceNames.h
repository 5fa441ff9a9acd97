#pragma once

#include <QString>

#include <optional>

// What a place is called, as picture catalogues store it.
struct PlaceName {
    QString city;
    QString state; // region, province or state
    QString country;
    QString countryCode;        // ISO 3166 two letters, "DE"
    double distanceMetres = -1; // to the named city; -1 when no city was named
    bool operator==(const PlaceName& o) const {
        return city == o.city && state == o.state && country == o.country &&
               countryCode == o.countryCode;
    }
};

// The name of a place from the offline list of the world's cities (every city of 15,000
// people or more), without a network: the nearest city when it is at most maxCityMetres
// away. Farther, the city is left empty rather than guessed, and its region and country are
// kept only while that city is within four times the distance (inland, not far out at sea).
// Nothing when the list cannot be read or no city is near enough for even a country.
std::optional<PlaceName> NearestPlaceName(double latitude, double longitude,
                                          double maxCityMetres = 15000);
