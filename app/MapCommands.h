#pragma once

#include <optional>
#include <string>

// Centres the map on the Latitude and Longitude fields at the given zoom level.
void CenterMap(int zoom);

// The map view's title changed: fill the fields from it when it holds a position.
void OnMapTitleChanged();

// The map view's current title, or nothing when it has none.
std::optional<std::string> MapTitle();
