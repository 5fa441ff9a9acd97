#include "app/trip/TrackMap.h"

#include "app/trip/TripMap.h"
#include "track/Track.h"
#include "track/TrackDrawing.h"
#include "webview/CWebBrowser.h"

#include <QByteArray>

#include <cmath>

namespace {

// About a metre: finer than the map shows at its closest zoom, and a 100,000-point track
// draws a small part of its points.
constexpr double kDrawTolerance = 0.00001;

// As in track.js.
const char* const kColours[] = {"#c2255c", "#2f9e44", "#7048e8", "#e67700", "#0c8599", "#5c940d"};

} // namespace

QByteArray TrackScript(int id, const Track& track, bool fitToView) {
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
    return script;
}

QByteArray ShowTrackScript(int id, bool shown) {
    return "if (window.TrackShow) TrackShow(" + QByteArray::number(id) + ',' +
           (shown ? "true" : "false") + ')';
}

void DrawTrack(int id, const Track& track, bool fitToView) {
    RunOnMaps(TrackScript(id, track, fitToView));
}

void ShowTrack(int id, bool shown) {
    RunOnMaps(ShowTrackScript(id, shown));
}

void RemoveTrack(int id) {
    RunOnMaps("if (window.TrackRemove) TrackRemove(" + QByteArray::number(id) + ')');
}

const char* TrackColour(int id) {
    constexpr int count = sizeof kColours / sizeof kColours[0];
    return kColours[((id % count) + count) % count];
}
