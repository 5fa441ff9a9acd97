#include "app/TrackMap.h"

#include "base/AppState.h"
#include "track/Track.h"
#include "track/TrackDrawing.h"
#include "webview/CWebBrowser.h"

#include <QByteArray>

#include <cmath>

namespace {

// About a metre: finer than the map shows at its closest zoom, and a 100,000-point track
// draws a small part of its points.
constexpr double kDrawTolerance = 0.00001;

void Run(const QByteArray& script) {
    if (g_app.pMapView)
        g_app.pMapView->ExecScript(script.constData());
}

} // namespace

void DrawTrack(int id, const Track& track, bool fitToView) {
    QByteArray script = "if (window.TrackAdd) TrackAdd(" + QByteArray::number(id) + ",[";
    bool firstSegment = true;
    for (const TrackSegment& segment : track.segments) {
        script += firstSegment ? "[" : ",[";
        firstSegment = false;
        bool first = true;
        for (std::size_t i : PointsToDraw(segment, kDrawTolerance)) {
            const TrackPoint& p = segment[i];
            if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude))
                continue;
            if (!first)
                script += ',';
            first = false;
            script += QByteArray::number(p.latitude, 'f', 6) + ',' +
                      QByteArray::number(p.longitude, 'f', 6);
        }
        script += ']';
    }
    script += QByteArray("],") + (fitToView ? "true" : "false") + ')';
    Run(script);
}

void ShowTrack(int id, bool shown) {
    Run("if (window.TrackShow) TrackShow(" + QByteArray::number(id) + ',' +
        (shown ? "true" : "false") + ')');
}

void RemoveTrack(int id) {
    Run("if (window.TrackRemove) TrackRemove(" + QByteArray::number(id) + ')');
}
