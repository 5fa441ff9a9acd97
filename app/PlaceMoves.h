#pragma once

#include <functional>
#include <optional>

class QWidget;

// Centres the map on a place at zoom, through the page's SetCenter, so that the fields
// follow from the map's title as for any move. Without a map page (no network) the
// fields take the place directly, so that it can still be recorded.
void MoveMapTo(double latitude, double longitude, int zoom);

// The map's centre and zoom as the user sees them.
struct MapView {
    double latitude = 0;
    double longitude = 0;
    int zoom = 12;
};

// Asks the map page for its view and calls done with it from the event loop; without a
// map page, the fields and the zoom list are the view. Nothing when they hold no position.
void ReadMapView(QWidget* context, std::function<void(std::optional<MapView>)> done);
