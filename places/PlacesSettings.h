#pragma once

#include <QSettings>
#include <QString>
#include <QUrl>

// The settings file the main window keeps its own group in; each area has a group of its own.
QSettings OpenPlacesSettings();

// Where the place search asks by name: [Search] NominatimUrl, or OpenStreetMap's service.
QUrl NominatimUrl();

// The map tiles' address pattern: [Map] TileUrl, or OpenStreetMap's standard tiles.
QString MapTileUrl();
