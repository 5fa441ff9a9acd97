// Tracks on the map: one line a track (its segments as parts of it), drawn on a canvas so
// that long tracks pan smoothly. The program sends only numbers.
var tracks = {};
var trackRenderer = null;
var trackColours = ["#c2255c", "#2f9e44", "#7048e8", "#e67700", "#0c8599", "#5c940d"];

// segments: arrays of alternating latitude and longitude.
function TrackAdd(id, segments, fit) {
    if (typeof L === "undefined" || !map)
        return;
    if (!trackRenderer)
        trackRenderer = L.canvas({padding: 0.5});
    TrackRemove(id);
    var parts = segments.map(function (flat) {
        var points = [];
        for (var i = 0; i + 1 < flat.length; i += 2)
            points.push([flat[i], flat[i + 1]]);
        return points;
    });
    var line = L.polyline(parts, {
        renderer: trackRenderer,
        color: trackColours[id % trackColours.length],
        weight: 3,
        opacity: 0.85,
        smoothFactor: 1.5,
        interactive: false
    }).addTo(map);
    tracks[id] = line;
    if (fit)
        map.fitBounds(line.getBounds(), {animate: false, padding: [10, 10]});
}

function TrackShow(id, shown) {
    var line = tracks[id];
    if (!line || !map)
        return;
    if (shown && !map.hasLayer(line))
        line.addTo(map);
    else if (!shown && map.hasLayer(line))
        map.removeLayer(line);
}

function TrackRemove(id) {
    var line = tracks[id];
    if (line && map)
        map.removeLayer(line);
    delete tracks[id];
}

// For tests: how many tracks are drawn, and how many points they draw.
function TrackDrawn() {
    var count = 0, points = 0;
    for (var id in tracks) {
        if (map.hasLayer(tracks[id])) {
            ++count;
            tracks[id].getLatLngs().forEach(function (part) { points += part.length; });
        }
    }
    return [count, points];
}
