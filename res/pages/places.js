// Places on the map page: a scale bar, a click that centres the map, a right-click menu
// that copies the point's coordinates, and the tile address the program chose.

// Set by the program before the page's scripts run; the page's own address otherwise.
L.TileLayer.addInitHook(function () {
    if (typeof kartavoTileUrl === "string" && kartavoTileUrl !== "")
        this.setUrl(kartavoTileUrl, true);
});

function PlacesCoordinatesText(latlng) {
    var point = latlng.wrap();
    return point.lat.toFixed(6) + ", " + point.lng.toFixed(6);
}

function PlacesCopy(text) {
    var area = document.createElement("textarea");
    area.value = text;
    area.setAttribute("readonly", "");
    area.style.position = "fixed";
    area.style.opacity = "0";
    document.body.appendChild(area);
    area.select();
    var copied = false;
    try {
        copied = document.execCommand("copy");
    } catch (e) {
        copied = false;
    }
    document.body.removeChild(area);
    return copied;
}

function PlacesMenu(map, latlng) {
    var text = PlacesCoordinatesText(latlng);
    var menu = L.DomUtil.create("div", "places-menu");
    var where = L.DomUtil.create("div", "places-where", menu);
    where.textContent = text;
    var copy = L.DomUtil.create("button", "places-copy", menu);
    copy.type = "button";
    copy.textContent = "Copy coordinates";
    L.DomEvent.on(copy, "click", function (e) {
        L.DomEvent.stop(e);
        where.textContent = PlacesCopy(text) ? "Copied: " + text : text;
        setTimeout(function () { map.closePopup(); }, 600);
    });
    L.popup({closeButton: false, autoPan: false}).setLatLng(latlng).setContent(menu).openOn(map);
}

L.Map.addInitHook(function () {
    var map = this;
    L.control.scale({position: "bottomleft"}).addTo(map);
    // A click centres the map there; a drag still pans, as Leaflet sends no click for it.
    map.on("click", function (e) {
        map.panTo(e.latlng);
    });
    map.on("contextmenu", function (e) {
        PlacesMenu(map, e.latlng);
    });
});
