// 100 camera-sized JPEGs matched to a track and written, end to end in the real window,
// against exiftool -geotag and gpscorrelate -g on copies of the same files. Run by hand:
// see README.md.
#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "base/AppState.h"
#include "bench/BenchSupport.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"
#include "webview/WebEngineSetup.h"

#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWebEngineView>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kPictures = 100;
const QTimeZone kZone("Europe/Berlin");

qint64 StartMs() {
    return QDateTime::fromString("2024-07-20T08:00:00Z", Qt::ISODate).toMSecsSinceEpoch();
}

bool WriteTrack(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
               "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>Walk</name><trkseg>\n");
    for (int i = 0; i < 7200; i += 2)
        file.write(QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time>"
                                  "</trkpt>\n")
                       .arg(52.5 + 0.00001 * i + 0.0005 * std::sin(i * 0.002), 0, 'f', 7)
                       .arg(13.4 + 0.000015 * i, 0, 'f', 7)
                       .arg(35 + 10 * std::sin(i * 0.001), 0, 'f', 1)
                       .arg(QDateTime::fromMSecsSinceEpoch(StartMs() + i * 1000LL, Qt::UTC)
                                .toString(Qt::ISODate))
                       .toUtf8());
    file.write("</trkseg></trk></gpx>\n");
    return true;
}

// The pictures, each with the camera's local time, 65 s apart through the track.
bool MakePictures(const QString& folder) {
    const QString master = folder + "/master.jpg";
    if (!Bench::MakeTwelveMegapixel(QStringLiteral(KARTAVO_SOURCE_DIR "/res/images/photo.jpg"),
                                    master))
        return false;
    QStringList args{"-q", "-overwrite_original"};
    for (int i = 0; i < kPictures; ++i) {
        const QString file = QStringLiteral("%1/p%2.jpg").arg(folder).arg(i, 3, 10, QChar('0'));
        if (!QFile::copy(master, file))
            return false;
        const QDateTime at = QDateTime::fromMSecsSinceEpoch(StartMs() + 30000 + i * 65000LL, kZone);
        args << "-DateTimeOriginal=" + at.toString("yyyy:MM:dd HH:mm:ss") << file << "-execute";
    }
    args.removeLast();
    QFile::remove(master);
    return Bench::TimeProcess("exiftool", args) >= 0;
}

QStringList CopyPictures(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QStringList copies;
    for (int i = 0; i < kPictures; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i, 3, 10, QChar('0'));
        QFile::remove(to + '/' + name);
        QFile::copy(from + '/' + name, to + '/' + name);
        copies << to + '/' + name;
    }
    return copies;
}

double Kartavo(const QStringList& files, const QString& track) {
    QElapsedTimer timer;
    timer.start();
    PicturesWindow* pictures = ShowPicturesWindow();
    PictureList* list = pictures->Model();
    QList<QByteArray> paths;
    for (const QString& f : files)
        paths << QFile::encodeName(f);
    pictures->AddPictures(paths);
    TracksWindow* tracks = ShowTracksWindow();
    tracks->OpenFiles({track});
    auto allRead = [&] {
        for (int row = 0; row < list->Count(); ++row)
            if (!list->IsRead(row))
                return false;
        return true;
    };
    if (!WaitUntil([&] { return allRead() && !tracks->IsLoading(); }, 120000)) {
        std::fprintf(stderr, "not read\n");
        return -1;
    }
    MatchSettings settings;
    settings.zoneId = "Europe/Berlin";
    const auto counts = tracks->Match(settings, false);
    if (!counts || counts->interpolated != kPictures) {
        std::fprintf(stderr, "not all matched: %s\n",
                     qPrintable(counts ? DescribeCounts(*counts) : QString("no match")));
        return -1;
    }
    // The button is enabled once the read has ended.
    auto* write = pictures->findChild<QPushButton*>("writeChanges");
    if (!WaitUntil([write] { return write->isEnabled(); }, 60000))
        return -1;
    write->click();
    auto allWritten = [&] {
        for (int row = 0; row < list->Count(); ++row)
            if (list->StateOf(row) != PictureList::WriteState::Written)
                return false;
        return true;
    };
    if (!WaitUntil(allWritten, 300000)) {
        std::fprintf(stderr, "not written\n");
        return -1;
    }
    const double ms = Bench::Milliseconds(timer);
    // Ready for the next run: the re-read after the write ends, then the lists are emptied.
    WaitUntil([&] { return allRead(); }, 60000);
    Settle(500);
    list->removeRows(0, list->Count());
    tracks->findChild<QTreeWidget*>("trackList")->selectAll();
    tracks->findChild<QPushButton*>("closeTrack")->click();
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    SetUpWebEngineBeforeApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kartavo"));
    QApplication::setQuitOnLastWindowClosed(false);
    const int runs = argc > 2 && !std::strcmp(argv[1], "--runs") ? std::atoi(argv[2]) : 3;

    QTemporaryDir config, data, temp, work;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("TMPDIR", temp.path().toUtf8());
    // The peers read the camera's local time in the process's zone.
    qputenv("TZ", "Europe/Berlin");
    SetNetworkStateProvider([] { return true; });

    const QString track = work.filePath("walk.gpx");
    const QString source = work.filePath("source");
    QDir().mkpath(source);
    if (!WriteTrack(track) || !MakePictures(source)) {
        std::fprintf(stderr, "cannot make the track and pictures\n");
        return 1;
    }
    std::printf("%d JPEGs of %.1f MB, track of 3,600 points; %d timed runs each\n", kPictures,
                QFile(source + "/p000.jpg").size() / 1e6, runs);

    std::unique_ptr<QWidget> main = StartKartavo();
    if (!WaitForJs(g_app.pMapView->View()->page(), "typeof TrackAdd", "function", 30000)) {
        std::fprintf(stderr, "the map page did not load\n");
        return 1;
    }
    std::vector<double> kartavo, exiftool, gpscorrelate;
    for (int run = 0; run <= runs; ++run) {
        const QString dir = work.filePath(QStringLiteral("run%1").arg(run));
        const double k = Kartavo(CopyPictures(source, dir + "/k"), track);
        CopyPictures(source, dir + "/e");
        const double e = Bench::TimeProcess("exiftool", {"-q", "-overwrite_original", "-geotag",
                                                         track, "-api", "GeoMaxIntSecs=60", "-api",
                                                         "GeoMaxExtSecs=60", dir + "/e"});
        const QStringList g = CopyPictures(source, dir + "/g");
        const double c = Bench::TimeProcess(
            "gpscorrelate", QStringList{"-g", track, "-z", "+2", "-m", "60", "-M"} + g);
        std::printf("run %d: kartavo %.0f ms, exiftool %.0f ms, gpscorrelate %.0f ms\n", run, k, e,
                    c);
        std::fflush(stdout);
        if (run == 0)
            continue; // warm-up
        kartavo.push_back(k);
        exiftool.push_back(e);
        gpscorrelate.push_back(c);
        QDir(dir).removeRecursively();
    }
    Bench::PrintRow("Kartavo: list, read, open track, match, write 100", kartavo);
    Bench::PrintRow("exiftool -geotag TRACK, same 100", exiftool);
    Bench::PrintRow("gpscorrelate -g TRACK, same 100", gpscorrelate);
    StopKartavo(std::move(main));
    return 0;
}
