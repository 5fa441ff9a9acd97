#include "places/SavedPlaces.h"

#include "places/PlacesSettings.h"

#include <cmath>

namespace {

const QString kGroup = QStringLiteral("Places");

} // namespace

std::vector<SavedPlace> ReadSavedPlaces() {
    QSettings settings = OpenPlacesSettings();
    std::vector<SavedPlace> places;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        bool latitudeOk = false;
        bool longitudeOk = false;
        bool zoomOk = false;
        SavedPlace place;
        place.name = settings.value(QStringLiteral("name")).toString();
        place.latitude = settings.value(QStringLiteral("latitude")).toDouble(&latitudeOk);
        place.longitude = settings.value(QStringLiteral("longitude")).toDouble(&longitudeOk);
        place.zoom = settings.value(QStringLiteral("zoom")).toInt(&zoomOk);
        // A hand-edited file must not send the map somewhere impossible.
        if (!latitudeOk || !longitudeOk || !(std::fabs(place.latitude) <= 90) ||
            !(std::fabs(place.longitude) <= 180))
            continue;
        if (!zoomOk || place.zoom < 1 || place.zoom > 19)
            place.zoom = 12;
        if (place.name.trimmed().isEmpty())
            place.name = QStringLiteral("%1, %2").arg(place.latitude).arg(place.longitude);
        places.push_back(place);
    }
    settings.endArray();
    return places;
}

bool WriteSavedPlaces(const std::vector<SavedPlace>& places) {
    QSettings settings = OpenPlacesSettings();
    settings.remove(kGroup);
    settings.beginWriteArray(kGroup, static_cast<int>(places.size()));
    for (int i = 0; i < static_cast<int>(places.size()); ++i) {
        settings.setArrayIndex(i);
        const SavedPlace& place = places[static_cast<std::size_t>(i)];
        settings.setValue(QStringLiteral("name"), place.name);
        // Text, as the rest of the file: full precision, readable by hand.
        settings.setValue(QStringLiteral("latitude"), QString::number(place.latitude, 'g', 12));
        settings.setValue(QStringLiteral("longitude"), QString::number(place.longitude, 'g', 12));
        settings.setValue(QStringLiteral("zoom"), QString::number(place.zoom));
    }
    settings.endArray();
    settings.sync();
    return settings.status() == QSettings::NoError;
}
