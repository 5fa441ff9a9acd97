#include "places/PlacesSettings.h"

#include "base/SettingsFile.h"

QSettings OpenPlacesSettings() {
    return OpenSettingsFile();
}

QUrl NominatimUrl() {
    const QString stored =
        OpenPlacesSettings().value(QStringLiteral("Search/NominatimUrl")).toString();
    const QUrl url(stored);
    if (!stored.isEmpty() && url.isValid() &&
        (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http")))
        return url;
    return QUrl(QStringLiteral("https://nominatim.openstreetmap.org/"));
}

QString MapTileUrl() {
    const QString stored = OpenPlacesSettings().value(QStringLiteral("Map/TileUrl")).toString();
    if (stored.startsWith(QLatin1String("https://")) || stored.startsWith(QLatin1String("http://")))
        return stored;
    return QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
}
