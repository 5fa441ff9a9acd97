// The trip window's map: it fills its view and tells the program what happens on it
// through console messages that the program's page reads ("kartavo-trip " and JSON). The
// program sends only numbers and texts made into script strings.
var map = null;
var tripFitted = false;
var tripTileErrors = 0;

function TripSend(event) {
    console.info("kartavo-trip " + JSON.stringify(event));
}

function TripCentre() {
    var c = map.getCenter();
    var lng = (c.lng > 180 || c.lng < -180) ? c.wrap().lng : c.lng;
    TripSend({type: "centre", lat: c.lat, lng: lng, zoom: map.getZoom()});
}

function TripInitialize() {
    if (typeof L === "undefined")
        return;
    map = L.map("map_canvas", {keyboard: true});
    map.setView([20, 0], 2);
    map.attributionControl.setPrefix("Leaflet");
    var tiles = L.tileLayer("https://tile.openstreetmap.org/{z}/{x}/{y}.png", {
        maxZoom: 19,
        attribution: "&copy; OpenStreetMap contributors"
    }).addTo(map);
    // The program finds out why and says so; one report a burst is enough.
    tiles.on("tileerror", function (e) {
        if (tripTileErrors++ === 0)
            TripSend({type: "tileerror", url: e.tile ? e.tile.src : ""});
    });
    tiles.on("tileload", function () {
        if (tripTileErrors > 0) {
            tripTileErrors = 0;
            TripSend({type: "tileload"});
        }
    });
    // The program's own menu, which the keyboard reaches too, instead of the page's.
    map.off("contextmenu");
    map.on("contextmenu", function (e) {
        TripSend({type: "context", lat: e.latlng.lat, lng: e.latlng.lng,
                  x: e.containerPoint.x, y: e.containerPoint.y});
    });
    // The big map's track canvas reaches less far beyond the view than the small map's: it
    // is drawn a few times the size of the view, and that memory is the page's largest.
    trackRenderer = L.canvas({padding: 0.2});
    map.on("moveend", TripCentre);
    map.on("dragstart zoomstart", function () { tripFitted = true; });
    TripSend({type: "ready"});
    TripCentre();
}

function TripView(lat, lng, zoom) {
    if (!map)
        return;
    tripFitted = true;
    map.setView([lat, lng], zoom, {animate: false});
}

// The point under the view's pixel (x, y).
function TripPointAt(x, y) {
    var p = map.containerPointToLatLng([x, y]);
    return [p.lat, p.wrap().lng];
}

// The first pictures shown put the map around them, unless the user has moved it.
function TripFitOnce(bounds) {
    if (tripFitted || !map || !bounds.isValid())
        return;
    tripFitted = true;
    map.fitBounds(bounds, {animate: false, padding: [30, 30], maxZoom: 15});
}

function TripTilesProblem(text) {
    var line = document.getElementById("tiles_problem");
    line.textContent = text;
    line.style.display = text ? "block" : "none";
    // The zoom buttons move down out of its way.
    document.body.classList.toggle("tiles-problem", !!text);
}

function TripFocus() {
    if (map)
        map.getContainer().focus();
}

function TripShowPoint(lat, lng) {
    if (map && !map.getBounds().contains([lat, lng]))
        map.panTo([lat, lng], {animate: false});
}
