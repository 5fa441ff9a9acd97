#pragma once

#include <QString>

#include <vector>

// A map view the user keeps under a name.
struct SavedPlace {
    QString name;
    double latitude = 0;
    double longitude = 0;
    int zoom = 12;
};

// The saved places, in the order the user saved them, from the settings file's group
// "Places"; entries that are not a usable position are left out.
std::vector<SavedPlace> ReadSavedPlaces();

// Replaces every saved place with places. False when the settings file cannot be written.
bool WriteSavedPlaces(const std::vector<SavedPlace>& places);
