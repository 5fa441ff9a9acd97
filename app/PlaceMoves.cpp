#include "app/PlaceMoves.h"

#include "base/AppState.h"
#include "base/Trace.h"
#include "places/CoordinateReader.h"
#include "webview/CWebBrowser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cmath>

namespace {

bool MapPageReady() {
    return g_app.pMapView && g_app.bOnline && !g_app.pMapView->GetDocument().isNull() &&
           g_app.pMapView->View() != nullptr;
}

std::optional<MapView> FieldsView() {
    if (!g_app.wndLatitude || !g_app.wndLongitude)
        return std::nullopt;
    bool latitudeOk = false;
    bool longitudeOk = false;
    MapView view;
    view.latitude = g_app.wndLatitude->text().trimmed().toDouble(&latitudeOk);
    view.longitude = g_app.wndLongitude->text().trimmed().toDouble(&longitudeOk);
    if (!latitudeOk || !longitudeOk || !(std::fabs(view.latitude) <= 90) ||
        !(std::fabs(view.longitude) <= 180))
        return std::nullopt;
    if (g_app.wndMain) {
        if (auto* zoom = g_app.wndMain->findChild<QComboBox*>(QStringLiteral("zoom")))
            view.zoom = zoom->currentIndex() + 1;
    }
    return view;
}

} // namespace

void MoveMapTo(double latitude, double longitude, int zoom) {
    if (!(std::fabs(latitude) <= 90) || !(std::fabs(longitude) <= 180))
        return;
    zoom = std::max(1, std::min(zoom, 18));
    const QString latitudeText = DecimalDegreesText(latitude);
    const QString longitudeText = DecimalDegreesText(longitude);
    if (MapPageReady()) {
        // Numbers only: the texts come from DecimalDegreesText.
        const QByteArray script = QStringLiteral("SetCenter(%1,%2,%3)")
                                      .arg(latitudeText, longitudeText)
                                      .arg(zoom)
                                      .toUtf8();
        Trace("# %s\n", script.constData());
        g_app.pMapView->ExecScript(script.constData());
        return;
    }
    if (g_app.wndLatitude && g_app.wndLongitude) {
        g_app.wndLatitude->setText(latitudeText);
        g_app.wndLongitude->setText(longitudeText);
    }
}

void ReadMapView(QWidget* context, std::function<void(std::optional<MapView>)> done) {
    if (!MapPageReady()) {
        QTimer::singleShot(0, context, [done] { done(FieldsView()); });
        return;
    }
    QPointer<QWidget> guard(context);
    g_app.pMapView->View()->page()->runJavaScript(
        QStringLiteral("map ? [map.getCenter().lat, map.getCenter().wrap().lng, map.getZoom()] "
                       ": null"),
        [guard, done](const QVariant& result) {
            if (!guard)
                return;
            const QVariantList values = result.toList();
            if (values.size() != 3) {
                done(FieldsView());
                return;
            }
            MapView view;
            view.latitude = values[0].toDouble();
            view.longitude = values[1].toDouble();
            view.zoom = values[2].toInt();
            done(view);
        });
}
