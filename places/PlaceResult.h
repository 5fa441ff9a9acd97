#pragma once

#include <QString>

// One place a search found, as the search box lists it.
struct PlaceResult {
    QString name;   // "Paris"
    QString detail; // region, country, population or the address
    double latitude = 0;
    double longitude = 0;
    int zoom = 12;           // the map zoom that shows it whole
    unsigned population = 0; // 0 when not known
};
