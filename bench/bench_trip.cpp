// The trip window with 5,000 listed pictures with positions and a 100,000-point track:
// time until its map shows them, frame times while its map pans and zooms, the time from
// placing 500 selected pictures to the map showing them, and the memory of the whole
// process tree before the trip window and after. Run by hand (see README.md).

#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "app/trip/TripMap.h"
#include "base/AppState.h"
#include "bench/BenchSupport.h"
#include "bench/TreeMemory.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"

#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <cmath>
#include <cstdio>

namespace {

const QString kSample = QStringLiteral(KARTAVO_SOURCE_DIR "/res/images/photo.jpg");

// Frame intervals while the map pans in steps, then zooms in and out, as rAF sees them.
const char* kFrames = R"(
new Promise(function (done) {
    var times = [], step = 0, last = performance.now();
    function frame(now) {
        times.push(now - last);
        last = now;
        if (step < 60)
            map.panBy([40, 25], {animate: false});
        else if (step < 80)
            map.setZoom(map.getZoom() + (step % 2 ? -1 : 1), {animate: false});
        if (++step < 80)
            requestAnimationFrame(frame);
        else
            done(times.slice(1));
    }
    requestAnimationFrame(frame);
}))";

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<std::size_t>(q * (v.size() - 1))];
}

bool MakeTrack(const QString& path, int points) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
               "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>long</name><trkseg>\n");
    const QDateTime start(QDate(2024, 6, 1), QTime(6, 0), Qt::UTC);
    for (int i = 0; i < points; ++i) {
        const double t = i / 2000.0;
        file.write(QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><time>%3</time></trkpt>\n")
                       .arg(46.0 + 0.5 * std::sin(t), 0, 'f', 6)
                       .arg(8.0 + t * 0.02 + 0.1 * std::cos(3 * t), 0, 'f', 6)
                       .arg(start.addSecs(i).toString(Qt::ISODate))
                       .toUtf8());
    }
    file.write("</trkseg></trk></gpx>\n");
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"count", "Pictures listed.", "n", "5000"});
    parser.addOption({"points", "Track points.", "n", "100000"});
    parser.process(app);
    const int count = parser.value("count").toInt();

    QTemporaryDir work;
    const QString picture = work.filePath("one.jpg");
    if (!QImage(kSample).scaled(160, 120).save(picture, "JPG"))
        return 1;
    // Links of one small picture: the bench is of the map, not of reading files.
    QList<QByteArray> paths;
    for (int i = 0; i < count; ++i) {
        const QString path = work.filePath(QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QChar('0')));
        if (!QFile::link(picture, path))
            return 1;
        paths << QFile::encodeName(path);
    }
    const QString track = work.filePath("long.gpx");
    if (!MakeTrack(track, parser.value("points").toInt()))
        return 1;

    SetNetworkStateProvider([] { return true; });
    std::unique_ptr<QWidget> main = StartKartavo();
    if (!WaitForJs(g_app.pMapView->View()->page(), "typeof PicturesShow", "function", 20000))
        return 1;
    Settle(2000);
    const TreeMemory before = SampleTree();

    QElapsedTimer clock;
    clock.start();
    PicturesWindow* window = ShowPicturesWindow();
    window->setGeometry(0, 0, 1280, 800);
    PictureList* list = window->Model();
    list->Add(paths);
    for (int row = 0; row < list->Count(); ++row) {
        PictureRead info;
        info.ok = true;
        info.dateTime = QStringLiteral("2024:06:01 %1:%2:00")
                            .arg(6 + row / 600, 2, 10, QChar('0'))
                            .arg(row / 10 % 60, 2, 10, QChar('0'));
        info.offset = QStringLiteral("+00:00");
        info.latitude = 46.0 + 0.5 * std::sin(row / 97.0);
        info.longitude = 8.0 + 0.002 * row;
        list->SetInfo(row, info);
    }
    window->Tracks()->OpenFiles({track});
    QWebEnginePage* page = window->Map()->View()->page();
    WaitUntil([&] { return window->Map()->IsReady(); }, 30000);
    WaitUntil([&] { return EvalJs(page, "PicturesOnTrip().length").toInt() == count; }, 60000);
    WaitUntil([&] { return EvalJs(page, "TrackDrawn()[0]").toInt() == 1; }, 60000);
    const double firstPaint = Bench::Milliseconds(clock);
    Settle(2000);

    const QVariantList frames = EvalJs(page, kFrames, 60000).toList();
    std::vector<double> frameMs;
    for (const QVariant& f : frames)
        frameMs.push_back(f.toDouble());

    // 500 pictures placed at once, as a drop does: until the map shows them there.
    window->SelectRow(0);
    QList<QByteArray> placed = paths.mid(0, 500);
    std::vector<double> placeMs;
    for (int run = 0; run < 5; ++run) {
        const double lat = 45.0 + run * 0.01;
        clock.restart();
        window->PlacePictures(placed, lat, 7.5, QStringLiteral("placed on the map"));
        const QString check =
            QStringLiteral("PicturesOnTrip().filter(function (m) { return m[1] === %1; }).length")
                .arg(lat);
        while (EvalJs(page, check).toInt() < 500 && clock.elapsed() < 20000)
            ;
        placeMs.push_back(Bench::Milliseconds(clock));
    }
    Settle(1000);
    const TreeMemory after = SampleTree();

    std::printf("Trip window, %d pictures with positions, a %s-point track\n", count,
                qPrintable(parser.value("points")));
    std::printf("  window made to markers and track on its map: %.0f ms\n", firstPaint);
    std::printf("  pan and zoom frames: median %.1f ms, 95%% %.1f ms, longest %.1f ms (%zu)\n",
                Quantile(frameMs, 0.5), Quantile(frameMs, 0.95), Quantile(frameMs, 1.0),
                frameMs.size());
    Bench::PrintRow("  500 pictures placed to shown on the map (ms)", placeMs);
    std::printf("  process tree PSS: %ld MiB before the trip window, %ld MiB with it (+%ld)\n",
                before.pss / 1024, after.pss / 1024, (after.pss - before.pss) / 1024);
    StopKartavo(std::move(main));
    return 0;
}
