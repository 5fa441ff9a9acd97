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

// list: [row, latitude, longitude, flags], flags 1: a new position, 2: selected.
function PicturesShow(list) {
    if (typeof L === "undefined" || !map)
        return;
    if (!picturesLayer)
        picturesLayer = L.layerGroup().addTo(map);
    picturesLayer.clearLayers();
    list.forEach(function (item) {
        var isNew = (item[3] & 1) !== 0;
        var selected = (item[3] & 2) !== 0;
        var marker = L.circleMarker([item[1], item[2]], {
            radius: selected ? 8 : 5,
            weight: selected ? 3 : 1,
            color: selected ? "#000000" : "#ffffff",
            fillColor: isNew ? "#e8590c" : "#1971c2",
            fillOpacity: 0.9
        });
        marker.on("click", function () {
            document.title = picturesPickTitle + item[0] + " " + (++picturesPickSerial);
            // Should the program miss the click, the map's own title still comes back.
            setTimeout(PicturesRestoreTitle, 1000);
        });
        marker.addTo(picturesLayer);
    });
}
