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

var picturesDots = null; // the main map's circles

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

// What a click or the pointer over a circle reaches, as Leaflet's own circles do: the
// click is the row's, and goes on to the map.
var PicturesDotTarget = typeof L === "undefined" ? null : L.Evented.extend({
    options: {bubblingMouseEvents: true},
    initialize: function (latlng, radius, row) {
        this._latlng = latlng;
        this._radius = radius;
        this.kpRow = row;
        this.on("click", PicturesCircleClicked);
    },
    getLatLng: function () {
        return this._latlng;
    }
});

// The main map's circles as numbers in arrays, drawn on a canvas of their own as Leaflet
// draws its circle markers: a year of pictures as ten thousand circle objects kept the
// page's script heap a dozen megabytes larger. Drawn in the order they came.
var PicturesDotsRenderer = typeof L === "undefined" ? null : L.Canvas.extend({
    initialize: function (options) {
        L.Canvas.prototype.initialize.call(this, options);
        this._count = 0;
        this._capacity = 0;
        this._byRow = new Map();
        this._grow(256);
    },

    _grow: function (capacity) {
        var grown = function (Type, old) {
            var array = new Type(capacity);
            if (old)
                array.set(old.subarray(0, Math.min(old.length, capacity)));
            return array;
        };
        this._rows = grown(Int32Array, this._rows);
        this._lat = grown(Float64Array, this._lat);
        this._lng = grown(Float64Array, this._lng);
        this._x = grown(Float64Array, this._x);
        this._y = grown(Float64Array, this._y);
        this._flags = grown(Uint8Array, this._flags);
        this._capacity = capacity;
    },

    Count: function () {
        return this._count;
    },

    // [row, latitude, longitude, flags] of every circle, in drawing order.
    Items: function () {
        var items = [];
        for (var i = 0; i < this._count; ++i)
            items.push([this._rows[i], this._lat[i], this._lng[i], this._flags[i]]);
        return items;
    },

    Set: function (item) {
        var i = this._byRow.get(item[0]);
        if (i === undefined) {
            if (this._count === this._capacity)
                this._grow(this._capacity * 2);
            i = this._count++;
            this._rows[i] = item[0];
            this._byRow.set(item[0], i);
        }
        this._lat[i] = item[1];
        this._lng[i] = item[2];
        this._flags[i] = item[3];
        this._Project(i);
    },

    // Rows whose circles go; the others keep their order.
    Remove: function (rows) {
        var going = new Set();
        rows.forEach(function (row) {
            going.add(Number(row));
        });
        var kept = 0;
        for (var i = 0; i < this._count; ++i) {
            if (going.has(this._rows[i]))
                continue;
            this._rows[kept] = this._rows[i];
            this._lat[kept] = this._lat[i];
            this._lng[kept] = this._lng[i];
            this._x[kept] = this._x[i];
            this._y[kept] = this._y[i];
            this._flags[kept] = this._flags[i];
            ++kept;
        }
        this._count = kept;
        this._byRow.clear();
        for (var k = 0; k < kept; ++k)
            this._byRow.set(this._rows[k], k);
        if (this._capacity > 256 && kept < this._capacity / 4)
            this._grow(Math.max(256, kept * 2));
        this._hovered = -1;
    },

    Changed: function () {
        if (this._map)
            this._redrawRequest =
                this._redrawRequest || L.Util.requestAnimFrame(this._redraw, this);
    },

    _Project: function (i) {
        if (!this._map)
            return;
        var p = this._map.latLngToLayerPoint([this._lat[i], this._lng[i]]);
        this._x[i] = p.x;
        this._y[i] = p.y;
    },

    onAdd: function () {
        L.Renderer.prototype.onAdd.call(this);
        this._updatePaths();
    },

    _updatePaths: function () {
        if (this._postponeUpdatePaths)
            return;
        for (var i = 0; i < this._count; ++i)
            this._Project(i);
        this._redrawBounds = null;
        this._redraw();
    },

    _draw: function () {
        var ctx = this._ctx;
        var bounds = this._bounds;
        var styles = [0, 1, 2, 3].map(PicturesCircleStyle);
        ctx.save();
        if (ctx.setLineDash)
            ctx.setLineDash([]);
        ctx.lineCap = "round";
        ctx.lineJoin = "round";
        for (var i = 0; i < this._count; ++i) {
            var style = styles[this._flags[i] & 3];
            var x = this._x[i];
            var y = this._y[i];
            var reach = style.radius + style.weight / 2;
            if (!bounds || x + reach < bounds.min.x || x - reach > bounds.max.x ||
                y + reach < bounds.min.y || y - reach > bounds.max.y)
                continue;
            ctx.beginPath();
            ctx.arc(x, y, Math.max(Math.round(style.radius), 1), 0, Math.PI * 2, false);
            ctx.globalAlpha = style.fillOpacity;
            ctx.fillStyle = style.fillColor;
            ctx.fill("evenodd");
            ctx.globalAlpha = 1;
            ctx.lineWidth = style.weight;
            ctx.strokeStyle = style.color;
            ctx.stroke();
        }
        ctx.restore();
    },

    // The last drawn circle under the point, as Leaflet finds its topmost one; -1 if none.
    _DotAt: function (point) {
        var found = -1;
        for (var i = 0; i < this._count; ++i) {
            var style = PicturesCircleStyle(this._flags[i]);
            var dx = point.x - this._x[i];
            var dy = point.y - this._y[i];
            var reach = style.radius + style.weight / 2;
            if (dx * dx + dy * dy <= reach * reach)
                found = i;
        }
        return found;
    },

    _Target: function (i) {
        return new PicturesDotTarget(L.latLng(this._lat[i], this._lng[i]),
                                     PicturesCircleStyle(this._flags[i]).radius, this._rows[i]);
    },

    _onClick: function (e) {
        var i = this._DotAt(this._map.mouseEventToLayerPoint(e));
        if (i < 0)
            return;
        var target = this._Target(i);
        if (!(e.type === "click" || e.type !== "preclick") || !this._map._draggableMoved(target)) {
            L.DomEvent.fakeStop(e);
            this._fireEvent([target], e);
        }
    },

    _handleMouseOut: function (e) {
        if (this._hovered >= 0 && this._hoveredTarget) {
            L.DomUtil.removeClass(this._container, "leaflet-interactive");
            this._fireEvent([this._hoveredTarget], e, "mouseout");
        }
        this._hovered = -1;
        this._hoveredTarget = null;
        this._mouseHoverThrottled = false;
    },

    _handleMouseHover: function (e, point) {
        if (this._mouseHoverThrottled)
            return;
        var i = this._DotAt(point);
        var row = i >= 0 ? this._rows[i] : -1;
        if (row !== (this._hoveredTarget ? this._hoveredTarget.kpRow : -1)) {
            this._handleMouseOut(e);
            if (i >= 0) {
                L.DomUtil.addClass(this._container, "leaflet-interactive");
                this._hovered = i;
                this._hoveredTarget = this._Target(i);
                this._fireEvent([this._hoveredTarget], e, "mouseover");
            }
        }
        if (this._hoveredTarget)
            this._fireEvent([this._hoveredTarget], e);
        this._mouseHoverThrottled = true;
        var renderer = this;
        setTimeout(function () {
            renderer._mouseHoverThrottled = false;
        }, 32);
    }
});

// list: [row, latitude, longitude, flags], flags 1: a new position, 2: selected; every
// row with a marker, the others lose theirs.
function PicturesShow(list) {
    PicturesChange(list, null);
}

// Only what changed: changed as list above, gone the rows whose marker goes.
function PicturesChange(changed, gone) {
    if (typeof L === "undefined" || !map)
        return;
    if (typeof TripSend === "function")
        return PicturesShowOnTrip(changed, gone);
    if (!picturesDots)
        picturesDots = new PicturesDotsRenderer({padding: 0.2});
    var going = gone;
    if (!going) {
        var listed = new Set();
        changed.forEach(function (item) {
            listed.add(item[0]);
        });
        going = [];
        picturesDots.Items().forEach(function (item) {
            if (!listed.has(item[0]))
                going.push(item[0]);
        });
    }
    if (going.length > 0)
        picturesDots.Remove(going);
    changed.forEach(function (item) {
        picturesDots.Set(item);
    });
    // Added the first time there is a circle, as Leaflet adds a renderer with its first path.
    if (!picturesDots._map && picturesDots.Count() > 0)
        map.addLayer(picturesDots);
    picturesDots.Changed();
}

// For tests and the bench: the main map's circles as [row, latitude, longitude, flags].
function PicturesOnMain() {
    return picturesDots ? picturesDots.Items() : [];
}

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
