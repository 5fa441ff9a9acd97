// The Pictures window's markers: one small circle a listed picture with a position,
// new positions in a colour of their own. A click is reported through the page title,
// which the program reads and then puts back.
var picturesLayer = null;
var picturesPickSerial = 0;
var picturesPickTitle = "Kartavo pick ";

function PicturesCentreTitle() {
    var c = map.getCenter();
    var lng = (c.lng > 180 || c.lng < -180) ? c.wrap().lng : c.lng;
    return "(" + c.lat + ", " + lng + ")";
}

// Puts back the title of the map's centre after a click was reported.
function PicturesRestoreTitle() {
    if (map && document.title.indexOf(picturesPickTitle) === 0)
        document.title = PicturesCentreTitle();
}

var picturesCircles = {}; // row: its circle on the main map
var picturesCanvas = null;

function PicturesCircleStyle(flags) {
    var isNew = (flags & 1) !== 0;
    var selected = (flags & 2) !== 0;
    return {
        radius: selected ? 8 : 5,
        weight: selected ? 3 : 1,
        color: selected ? "#000000" : "#ffffff",
        fillColor: isNew ? "#e8590c" : "#1971c2",
        fillOpacity: 0.9
    };
}

// list: [row, latitude, longitude, flags], flags 1: a new position, 2: selected; every
// row with a marker, the others lose theirs.
// The circles are kept by row and drawn on one canvas: a year of pictures as SVG circles
// made anew for each list took the page hundreds of megabytes and seconds.
function PicturesShow(list) {
    PicturesChange(list, null);
}

// Only what changed: changed as list above, gone the rows whose marker goes.
function PicturesChange(changed, gone) {
    if (typeof L === "undefined" || !map)
        return;
    if (typeof TripSend === "function")
        return PicturesShowOnTrip(changed, gone);
    if (!picturesLayer) {
        picturesCanvas = L.canvas({padding: 0.2});
        picturesLayer = L.layerGroup().addTo(map);
    }
    var seen = gone ? null : {};
    changed.forEach(function (item) {
        if (seen)
            seen[item[0]] = true;
        PicturesCircleFor(item);
    });
    var remove = function (row) {
        if (picturesCircles[row]) {
            picturesLayer.removeLayer(picturesCircles[row]);
            delete picturesCircles[row];
        }
    };
    if (gone)
        gone.forEach(remove);
    else
        Object.keys(picturesCircles).forEach(function (row) {
            if (!seen[row])
                remove(row);
        });
}

function PicturesCircleFor(item) {
    var row = item[0];
    var circle = picturesCircles[row];
    if (!circle) {
        var options = PicturesCircleStyle(item[3]);
        options.renderer = picturesCanvas;
        circle = L.circleMarker([item[1], item[2]], options);
        circle.kpRow = row;
        circle.on("click", PicturesCircleClicked);
        circle.kartavoFlags = item[3];
        picturesCircles[row] = circle;
        circle.addTo(picturesLayer);
        return;
    }
    var at = circle.getLatLng();
    if (at.lat !== item[1] || at.lng !== item[2])
        circle.setLatLng([item[1], item[2]]);
    if (circle.kartavoFlags !== item[3]) {
        var style = PicturesCircleStyle(item[3]);
        circle.setRadius(style.radius);
        circle.setStyle(style);
        circle.kartavoFlags = item[3];
    }
}

// One handler for every circle, rather than a closure each.
function PicturesCircleClicked(e) {
    document.title = picturesPickTitle + e.target.kpRow + " " + (++picturesPickSerial);
    // Should the program miss the click, the map's own title still comes back.
    setTimeout(PicturesRestoreTitle, 1000);
}

// The trip window's map: markers that can be dragged, grouped into clusters beyond a few
// hundred, and kept by row, so that a new list moves and restyles only what changed.
var picturesByRow = {};
var picturesClustered = null;
var picturesIcons = {};
var picturesClusterAbove = 300;

function PicturesIcon(flags) {
    if (!picturesIcons[flags]) {
        var selected = (flags & 2) !== 0;
        var size = selected ? 16 : 12;
        picturesIcons[flags] = L.divIcon({
            className: "kp" + ((flags & 1) ? " kp-new" : "") + (selected ? " kp-sel" : ""),
            iconSize: [size, size]
        });
    }
    return picturesIcons[flags];
}

function PicturesNewMarker(item) {
    var marker = L.marker([item[1], item[2]], {
        icon: PicturesIcon(item[3]),
        draggable: true,
        keyboard: false,
        zIndexOffset: (item[3] & 2) ? 1000 : 0
    });
    marker.kpRow = item[0];
    marker.kpFlags = item[3];
    marker.kpLat = item[1];
    marker.kpLng = item[2];
    marker.on("click", PicturesMarkerClicked);
    marker.on("dragend", PicturesMarkerMoved);
    return marker;
}

// One handler each for every marker, rather than closures of their own.
function PicturesMarkerClicked(e) {
    TripSend({type: "pick", row: e.target.kpRow});
}

function PicturesMarkerMoved(e) {
    var p = e.target.getLatLng();
    TripSend({type: "moved", row: e.target.kpRow, lat: p.lat, lng: p.wrap().lng});
}

var picturesOnTripCount = 0;

// list and gone as for PicturesChange: gone null when list is every row with a marker.
function PicturesShowOnTrip(list, gone) {
    var goneRows = gone || [];
    if (!gone) {
        var listed = {};
        list.forEach(function (item) { listed[item[0]] = true; });
        for (var shown in picturesByRow)
            if (!listed[shown])
                goneRows.push(shown);
    }
    var count = picturesOnTripCount;
    goneRows.forEach(function (row) {
        if (picturesByRow[row])
            --count;
    });
    list.forEach(function (item) {
        if (!picturesByRow[item[0]])
            ++count;
    });
    var clustered = count > picturesClusterAbove;
    if (!picturesLayer || clustered !== picturesClustered) {
        // Every marker anew in a layer of the other kind.
        if (gone) {
            var all = {};
            for (var row in picturesByRow)
                all[row] = [Number(row), picturesByRow[row].kpLat, picturesByRow[row].kpLng,
                            picturesByRow[row].kpFlags];
            goneRows.forEach(function (row) { delete all[row]; });
            list.forEach(function (item) { all[item[0]] = item; });
            list = Object.keys(all).map(function (row) { return all[row]; });
        }
        goneRows = [];
        if (picturesLayer)
            map.removeLayer(picturesLayer);
        picturesLayer = clustered
            ? L.markerClusterGroup({chunkedLoading: true, disableClusteringAtZoom: 18,
                                    showCoverageOnHover: false})
            : L.featureGroup();
        picturesLayer.addTo(map);
        picturesByRow = {};
        picturesClustered = clustered;
    }
    var added = [];
    var removed = [];
    var bounds = L.latLngBounds([]);
    goneRows.forEach(function (row) {
        if (picturesByRow[row]) {
            removed.push(picturesByRow[row]);
            delete picturesByRow[row];
        }
    });
    list.forEach(function (item) {
        var row = item[0];
        bounds.extend([item[1], item[2]]);
        var marker = picturesByRow[row];
        if (marker && (marker.kpLat !== item[1] || marker.kpLng !== item[2])) {
            removed.push(marker);
            marker = null;
        }
        if (!marker) {
            marker = PicturesNewMarker(item);
            picturesByRow[row] = marker;
            added.push(marker);
        } else if (marker.kpFlags !== item[3]) {
            marker.kpFlags = item[3];
            marker.setIcon(PicturesIcon(item[3]));
            marker.setZIndexOffset((item[3] & 2) ? 1000 : 0);
        }
    });
    picturesOnTripCount = count;
    if (clustered) {
        picturesLayer.removeLayers(removed);
        picturesLayer.addLayers(added);
    } else {
        removed.forEach(function (m) { picturesLayer.removeLayer(m); });
        added.forEach(function (m) { picturesLayer.addLayer(m); });
    }
    TripFitOnce(bounds);
}

// For tests and the bench: markers by row, and how many.
function PicturesOnTrip() {
    var rows = [];
    for (var row in picturesByRow)
        rows.push([Number(row), picturesByRow[row].kpLat, picturesByRow[row].kpLng,
                   picturesByRow[row].kpFlags]);
    return rows;
}
