// Lists 1,000 pictures in the real Pictures window: time until every row has its metadata
// and the visible rows their thumbnails, the longest stall of the window's thread meanwhile,
// and the peak memory of the whole process tree; against `exiftool -fast2 -j` reading the
// same files in one process. Run by hand (see README.md).

#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/Timeline.h"
#include "app/trip/TripMap.h"
#include "base/AppState.h"
#include "bench/BenchSupport.h"
#include "bench/TreeMemory.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"

#include "tests/formats/FormatPictures.h"
#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const QString kSample = QStringLiteral(KARTAVO_SOURCE_DIR "/res/images/photo.jpg");

// A 1600x1200 camera-like JPEG; every other copy carries an embedded thumbnail, half of
// them a position, all a date and zone.
bool MakePictures(const QString& folder, int count, QList<QByteArray>& paths) {
    const QString master = folder + "/master.jpg";
    const QString withThumb = folder + "/master-thumb.jpg";
    const QString thumb = folder + "/thumb.jpg";
    QImage image =
        QImage(kSample).scaled(1600, 1200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull() || !image.save(master, "JPG", 90) ||
        !image.scaled(160, 120).save(thumb, "JPG", 80))
        return false;
    if (!Bench::Tag(master,
                    {"-DateTimeOriginal=2024:06:15 18:42:10", "-OffsetTimeOriginal=+02:00"}))
        return false;
    QFile::remove(withThumb);
    if (!QFile::copy(master, withThumb) ||
        !Bench::Tag(withThumb,
                    {"-ThumbnailImage<=" + thumb, "-GPSLatitude=33.8568", "-GPSLatitudeRef=S",
                     "-GPSLongitude=151.2153", "-GPSLongitudeRef=E"}))
        return false;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QStringLiteral("%1/IMG_%2.jpg").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
        if (!QFile::exists(path) && !QFile::copy(i % 2 ? master : withThumb, path))
            return false;
        paths << QFile::encodeName(path);
    }
    return true;
}

struct Listing {
    double ms = -1;
    double longestStallMs = 0;
    TreeMemory peak;
};

bool VisibleThumbnailsDone(PicturesWindow* window) {
    auto* table = window->findChild<QTableView*>("pictureTable");
    PictureList* list = window->Model();
    const int first = table->rowAt(0);
    int last = table->rowAt(table->viewport()->height() - 1);
    if (last < 0)
        last = table->model()->rowCount() - 1;
    for (int row = first; row >= 0 && row <= last; ++row) {
        const QModelIndex index = table->model()->index(row, PictureList::Thumbnail);
        if (index.data(Qt::DecorationRole).isNull())
            return false;
    }
    for (int row = 0; row < list->Count(); ++row)
        if (!list->IsRead(row))
            return false;
    return true;
}

Listing ListOnce(PicturesWindow* window, const QList<QByteArray>& paths) {
    window->Model()->removeRows(0, window->Model()->Count());
    Settle(300);
    Listing listing;
    std::atomic<bool> sampling{true};
    TreeMemory peak;
    std::thread sampler([&] {
        while (sampling.load()) {
            const TreeMemory now = SampleTree();
            peak.pss = std::max(peak.pss, now.pss);
            peak.rss = std::max(peak.rss, now.rss);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    // A 10 ms heartbeat on the window's thread: its longest gap is the longest stall.
    QElapsedTimer beat;
    beat.start();
    QTimer heartbeat;
    heartbeat.setInterval(10);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        listing.longestStallMs = std::max(listing.longestStallMs, Bench::Milliseconds(beat));
        beat.restart();
    });
    heartbeat.start();
    QElapsedTimer timer;
    timer.start();
    window->AddPictures(paths);
    if (WaitUntil([window] { return VisibleThumbnailsDone(window); }, 600000))
        listing.ms = Bench::Milliseconds(timer);
    heartbeat.stop();
    sampling = false;
    sampler.join();
    listing.peak = peak;
    return listing;
}

// The main window with the Pictures window beside it: a few pictures listed, their own
// positions and new ones on the map.
bool TakeScreenshot(const QString& folder, const QString& out) {
    const QString sample = folder + "/sample.jpg";
    QImage image = QImage(kSample);
    if (image.isNull() || !image.save(sample, "JPG", 90))
        return false;
    const double places[][2] = {{-33.8568, 151.2153}, {-33.8523, 151.2108}, {-33.8612, 151.2120}};
    QList<QByteArray> paths;
    for (int i = 0; i < 6; ++i) {
        const QString path = QStringLiteral("%1/Harbour %2.jpg").arg(folder).arg(i + 1);
        QFile::remove(path);
        QStringList tags{QStringLiteral("-DateTimeOriginal=2024:06:15 18:%1:10").arg(40 + i),
                         "-OffsetTimeOriginal=+10:00"};
        if (i < 3)
            tags << QStringLiteral("-GPSLatitude=%1").arg(-places[i][0]) << "-GPSLatitudeRef=S"
                 << QStringLiteral("-GPSLongitude=%1").arg(places[i][1]) << "-GPSLongitudeRef=E"
                 << "-GPSAltitude=12"
                 << "-GPSAltitudeRef=0";
        if (!QFile::copy(sample, path) || !Bench::Tag(path, tags))
            return false;
        paths << QFile::encodeName(path);
    }
    SetNetworkStateProvider([] { return true; });
    std::unique_ptr<QWidget> main = StartKartavo();
    main->move(0, 0);
    if (!WaitForJs(g_app.pMapView->View()->page(), "typeof PicturesShow", "function", 20000))
        return false;
    PicturesWindow* window = ShowPicturesWindow();
    window->setGeometry(main->frameGeometry().right() + 12, 0, 1000, 560);
    window->AddPictures(paths);
    PictureList* list = window->Model();
    WaitUntil(
        [list] {
            for (int row = 0; row < list->Count(); ++row)
                if (!list->IsRead(row))
                    return false;
            return list->Count() == 6;
        },
        30000);
    list->SetNewPosition(3, -33.8590, 151.2089, std::nullopt, QDateTime(), "map");
    list->SetNewPosition(4, -33.8581, 151.2169, std::nullopt, QDateTime(), "map");
    if (auto* zoom = main->findChild<QComboBox*>("zoom"))
        zoom->setCurrentIndex(13); // close enough to tell the markers apart
    window->SelectRow(0);
    Settle(3000); // the picture's read, the map's move, thumbnails, the last paints
    QTemporaryDir work;
    const QString screen = work.filePath("screen.png");
    if (QProcess::execute("import", {"-window", "root", screen}) != 0)
        return false;
    const QImage whole(screen);
    const QRect both = main->frameGeometry().united(window->frameGeometry());
    const bool saved = whole.copy(both.intersected(whole.rect())).save(out);
    StopKartavo(std::move(main));
    return saved;
}

// A year of pictures: a folder a day, about 55 pictures each, hard links to 48 JPEGs (a
// month's four kinds: with or without an embedded thumbnail and a position, each its own
// time and zone), and a NEF and a HEIC of each quarter. Returns the number of files.
int MakeYear(const QString& root, const QString& masters, int count) {
    QDir().mkpath(masters);
    const QString thumb = masters + "/thumb.jpg";
    QImage image =
        QImage(kSample).scaled(1600, 1200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull() || !image.scaled(160, 120).save(thumb, "JPG", 80))
        return 0;
    QStringList made;
    for (int month = 1; month <= 12; ++month) {
        for (int kind = 0; kind < 4; ++kind) {
            const QString path = QStringLiteral("%1/m%2-%3.jpg").arg(masters).arg(month).arg(kind);
            made << path;
            if (QFile::exists(path))
                continue;
            if (!image.save(path, "JPG", 90))
                return 0;
            QStringList tags{QStringLiteral("-DateTimeOriginal=2025:%1:%2 %3:%4:10")
                                 .arg(month, 2, 10, QLatin1Char('0'))
                                 .arg(kind * 7 + 1, 2, 10, QLatin1Char('0'))
                                 .arg(8 + kind * 3)
                                 .arg(month * 4, 2, 10, QLatin1Char('0')),
                             kind % 2 ? "-OffsetTimeOriginal=+02:00"
                                      : "-OffsetTimeOriginal=-05:00"};
            if (kind < 2)
                tags << "-ThumbnailImage<=" + thumb;
            if (kind % 2 == 0)
                tags << QStringLiteral("-GPSLatitude=%1").arg(40 + month * 0.37 + kind)
                     << "-GPSLatitudeRef=N" << QStringLiteral("-GPSLongitude=%1").arg(month * 1.3)
                     << "-GPSLongitudeRef=E";
            if (!Bench::Tag(path, tags))
                return 0;
        }
    }
    QStringList others;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const QString nef = QStringLiteral("%1/q%2.nef").arg(masters).arg(quarter);
        const QString heic = QStringLiteral("%1/q%2.heic").arg(masters).arg(quarter);
        const QString jpeg = made[quarter * 12];
        if (!QFile::exists(nef)) {
            QFile in(jpeg);
            in.open(QIODevice::ReadOnly);
            FormatPictures::WriteFile(nef, FormatPictures::RawWithPreview(in.readAll(), 64, 48));
        }
        if (!QFile::exists(heic))
            FormatPictures::RunTool("heif-enc", {"-q", "60", "-t", "320", "-o", heic, jpeg});
        others << nef << heic;
    }
    int made_ = 0;
    const int perDay = (count + 364) / 365;
    QDate day(2025, 1, 1);
    for (int i = 0; i < count; day = day.addDays(1)) {
        const QString folder = QStringLiteral("%1/%2/%3")
                                   .arg(root)
                                   .arg(day.month(), 2, 10, QLatin1Char('0'))
                                   .arg(day.toString("yyyy-MM-dd"));
        QDir().mkpath(folder);
        for (int k = 0; k < perDay && i < count; ++k, ++i) {
            // One in ten is a NEF or HEIC of the quarter; the rest the month's JPEGs.
            const QString& master = i % 10 == 9 ? others[(day.month() - 1) / 3 * 2 + (i / 10) % 2]
                                                : made[(day.month() - 1) * 4 + i % 4];
            const QString ext = master.mid(master.lastIndexOf('.'));
            const QString path =
                QStringLiteral("%1/IMG_%2%3").arg(folder).arg(i, 5, 10, QLatin1Char('0')).arg(ext);
            if (!QFile::exists(path) && ::link(QFile::encodeName(master).constData(),
                                               QFile::encodeName(path).constData()) != 0)
                return 0;
            ++made_;
        }
    }
    return made_;
}

// Prints every event the window's thread took long over, with what received it, while
// g_logStalls is set: where a stall comes from, every event over g_stallLogMs named.
bool g_logStalls = false;
int g_stallLogMs = 40;

class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (!g_logStalls)
            return QApplication::notify(receiver, event);
        const int type = event->type();
        QElapsedTimer took;
        took.start();
        const bool result = QApplication::notify(receiver, event);
        if (took.elapsed() > g_stallLogMs)
            std::printf("  stall %lld ms: event %d to %s \"%s\" (parent %s)\n",
                        static_cast<long long>(took.elapsed()), type,
                        receiver->metaObject()->className(), qPrintable(receiver->objectName()),
                        receiver->parent() ? receiver->parent()->metaObject()->className() : "-");
        return result;
    }
};

// What the pages' scripts keep: their markers by row, the layers drawn, and the script
// heap (precise with QTWEBENGINE_CHROMIUM_FLAGS=--enable-precise-memory-info).
void PrintPages(PicturesWindow* window) {
    // With --js-flags=--expose-gc, the heap after a collection.
    const QString heap = QStringLiteral(
        "((window.gc ? (gc(), '') : '') + (performance.memory ? ' heap ' + "
        "(performance.memory.usedJSHeapSize / 1048576)"
        ".toFixed(1) + ' of ' + (performance.memory.totalJSHeapSize / 1048576).toFixed(1) + "
        "' MiB' : ''))");
    const QString count = QStringLiteral("(o ? Object.keys(o).length : -1)");
    const QVariant main =
        EvalJs(g_app.pMapView->View()->page(),
               QStringLiteral("(function () { return 'circles ' + PicturesOnMain().length + "
                              "', map targets ' + Object.keys(map._targets).length + %1; })()")
                   .arg(heap));
    const QVariant trip = EvalJs(
        window->Map()->View()->page(),
        QStringLiteral("(function () { var o = picturesByRow; return 'markers ' + %1 + "
                       "', layer holds ' + (picturesLayer ? picturesLayer.getLayers().length : 0)"
                       " + ', map targets ' + Object.keys(map._targets).length + "
                       "', map layers ' + Object.keys(map._layers).length + %2; })()")
            .arg(count, heap));
    std::printf("  main map page: %s\n  trip map page: %s\n", qPrintable(main.toString()),
                qPrintable(trip.toString()));
    std::fflush(stdout);
}

struct YearListing {
    double listed30 = -1;  // 30 rows in the list
    double firstRead = -1; // the first row read
    double first30 = -1;
    double allRead = -1;
    double longestStallMs = 0;
    TreeMemory peak;
};

// From "Add Folder" with its sub-folders to the first 30 rows in the list's order read,
// and to every row read; the window's thread's longest stall and the tree's peak memory.
YearListing ListYear(PicturesWindow* window, const QByteArray& root, int expected) {
    if (window->Model()->Count() > 0) {
        window->Model()->removeRows(0, window->Model()->Count());
        Settle(3000);
        // What the removed rows left behind, in the program and in the pages.
        std::printf("  after removing every row:\n");
        PrintTree();
        PrintPages(window);
        if (qEnvironmentVariableIsSet("KARTAVO_BENCH_TRIM")) {
            // How much of it the program has freed but not given back.
            malloc_trim(0);
            std::printf("  after malloc_trim: %ld MiB\n",
                        ReadKb("/proc/self/smaps_rollup", "Pss:") / 1024);
        }
    } else {
        Settle(1500);
    }
    YearListing listing;
    std::atomic<bool> sampling{true};
    TreeMemory peak;
    std::thread sampler([&] {
        while (sampling.load()) {
            TreeMemory now = SampleTree(true);
            if (now.pss > peak.pss)
                peak.processes = std::move(now.processes);
            peak.pss = std::max(peak.pss, now.pss);
            peak.rss = std::max(peak.rss, now.rss);
            // Reading every smaps_rollup of the tree costs a core a tenth of its time at 50 ms.
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
    auto* table = window->findChild<QTableView*>("pictureTable");
    PictureList* list = window->Model();
    QElapsedTimer beat;
    beat.start();
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QElapsedTimer timer;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const double gap = Bench::Milliseconds(beat);
        listing.longestStallMs = std::max(listing.longestStallMs, gap);
        beat.restart();
        if (g_logStalls && gap > g_stallLogMs)
            std::printf("  gap %.1f ms, %.0f ms into the listing\n", gap,
                        Bench::Milliseconds(timer));
        if (listing.listed30 < 0 && list->Count() >= 30)
            listing.listed30 = Bench::Milliseconds(timer);
        if (listing.firstRead < 0 && list->Count() > 0 && list->IsRead(0))
            listing.firstRead = Bench::Milliseconds(timer);
        if (listing.first30 < 0 && list->Count() >= 30) {
            bool read = true;
            for (int row = 0; row < 30 && read; ++row) {
                const QModelIndex index = table->model()->index(row, PictureList::Name);
                read = !index.siblingAtColumn(PictureList::State)
                            .data()
                            .toString()
                            .startsWith(QStringLiteral("reading"));
            }
            if (read)
                listing.first30 = Bench::Milliseconds(timer);
        }
    });
    heartbeat.start();
    timer.start();
    g_logStalls = qEnvironmentVariableIsSet("KARTAVO_BENCH_STALLS");
    if (const int ms = qEnvironmentVariableIntValue("KARTAVO_BENCH_STALLS"); ms > 1)
        g_stallLogMs = ms;
    window->AddFolder(root, true);
    int next = 0; // rows before this one are read
    const bool done = WaitUntil(
        [&] {
            if (list->Count() < expected)
                return false;
            while (next < expected && list->IsRead(next))
                ++next;
            return next == expected;
        },
        900000);
    if (done)
        listing.allRead = Bench::Milliseconds(timer);
    g_logStalls = false;
    heartbeat.stop();
    sampling = false;
    sampler.join();
    listing.peak = peak;
    std::printf("  at the peak (%ld MiB):\n", peak.pss / 1024);
    PrintTree(peak);
    std::printf("  every row read:\n");
    PrintTree();
    PrintPages(window);
    return listing;
}

// The timeline of a year of pictures (a tick every half hour of daylight, a track over
// half the year, a few selected) painted runs times; saved as FILE, to compare by pixel.
int PaintTimeline(const QString& out, int runs) {
    Timeline timeline(nullptr);
    timeline.resize(800, timeline.minimumSizeHint().height());
    std::vector<TimelineTick> ticks;
    const qint64 start =
        QDateTime(QDate(2025, 1, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    for (int i = 0; i < 20000; ++i)
        ticks.push_back({i, start + (i / 55) * 86400000LL + (i % 55) * 900000LL, i % 997 == 0});
    TimelineTrack track{QStringLiteral("walk"), QColor(0x2f, 0x9e, 0x44), {}};
    for (int day = 0; day < 365; day += 2)
        track.spans.push_back({start + day * 86400000LL, start + day * 86400000LL + 43200000LL});
    timeline.SetData(std::move(ticks), {track}, 60000, QTimeZone::utc());
    QImage image(timeline.size(), QImage::Format_ARGB32);
    std::vector<double> painted;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        timeline.render(&image);
        painted.push_back(Bench::Milliseconds(timer));
    }
    Bench::PrintRow("Timeline of 20,000 pictures painted", painted);
    return image.save(out) ? 0 : 1;
}

int RunYear(const QString& folder, int count, int runs, bool peer) {
    const QString root = QStringLiteral("%1/year-%2").arg(folder).arg(count);
    const int made = MakeYear(root, folder + "/year-masters", count);
    if (made != count) {
        std::fprintf(stderr, "bench_pictures_window: could not make the year (%d)\n", made);
        return 1;
    }
    const QString tree = root;
    SetNetworkStateProvider([] { return true; });
    std::unique_ptr<QWidget> main = StartKartavo();
    WaitForJs(g_app.pMapView->View()->page(), "typeof PicturesShow", "function", 20000);
    PicturesWindow* window = ShowPicturesWindow();
    window->resize(1100, 700);
    Settle(500);
    const TreeMemory idle = SampleTree();
    PrintTree();
    PrintPages(window);
    std::vector<double> first, all, stalls, exiftool;
    long peakPss = 0, peakRss = 0;
    for (int run = 0; run <= runs; ++run) {
        const YearListing listing = ListYear(window, QFile::encodeName(tree), count);
        const double peerMs =
            peer ? Bench::TimeProcess("exiftool", {"-fast2", "-j", "-r", tree}) : -1;
        std::printf("run %d: 30 listed %.0f ms, first read %.0f ms, ", run, listing.listed30,
                    listing.firstRead);
        std::printf("run %d: first 30 %.0f ms, all read %.0f ms, stall %.1f ms, PSS %ld MiB; "
                    "exiftool %.0f ms\n",
                    run, listing.first30, listing.allRead, listing.longestStallMs,
                    listing.peak.pss / 1024, peerMs);
        std::fflush(stdout);
        if (run == 0)
            continue; // warms the caches
        first.push_back(listing.first30);
        all.push_back(listing.allRead);
        stalls.push_back(listing.longestStallMs);
        exiftool.push_back(peerMs);
        peakPss = std::max(peakPss, listing.peak.pss);
        peakRss = std::max(peakRss, listing.peak.rss);
    }
    std::printf("%d pictures in %s, a folder a day\n", count, qPrintable(tree));
    Bench::PrintRow("Add folder: first 30 rows read", first);
    Bench::PrintRow("Add folder: every row read", all);
    Bench::PrintRow("  longest stall of the window's thread", stalls);
    Bench::PrintRow("exiftool -fast2 -j -r, same tree", exiftool);
    std::printf("process tree before listing: PSS %ld MiB, RSS sum %ld MiB\n", idle.pss / 1024,
                idle.rss / 1024);
    std::printf("peak of the process tree while listing: PSS %ld MiB, RSS sum %ld MiB\n",
                peakPss / 1024, peakRss / 1024);
    StopKartavo(std::move(main));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    TimedApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"runs", "Timed runs.", "n", "5"});
    parser.addOption({"count", "Pictures listed.", "n", "1000"});
    parser.addOption({"dir", "Folder for the pictures (kept between runs).", "folder"});
    parser.addOption({"screenshot", "Save both windows with a few pictures as FILE.", "FILE"});
    parser.addOption({"year", "A year of N pictures in a folder a day, added as a folder.", "N"});
    parser.addOption({"timeline", "Paint a year's timeline --runs times, saved as FILE.", "FILE"});
    parser.addOption({"no-peer", "With --year: leave out exiftool (for quick looks at memory)."});
    parser.process(app);
    const int runs = parser.value("runs").toInt();
    const int count = parser.value("count").toInt();

    QTemporaryDir temp;
    const QString folder = parser.isSet("dir") ? parser.value("dir") : temp.path();
    QDir().mkpath(folder);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", config.path().toUtf8());

    if (parser.isSet("screenshot"))
        return TakeScreenshot(folder, QFileInfo(parser.value("screenshot")).absoluteFilePath()) ? 0
                                                                                                : 1;

    if (parser.isSet("timeline"))
        return PaintTimeline(parser.value("timeline"), runs);

    if (parser.isSet("year"))
        return RunYear(folder, parser.value("year").toInt(), runs, !parser.isSet("no-peer"));

    QList<QByteArray> paths;
    if (!MakePictures(folder, count, paths)) {
        std::fprintf(stderr, "bench_pictures_window: could not make the pictures\n");
        return 1;
    }
    QStringList files;
    for (const QByteArray& path : paths)
        files << QFile::decodeName(path);

    SetNetworkStateProvider([] { return true; });
    std::unique_ptr<QWidget> main = StartKartavo();
    WaitForJs(g_app.pMapView->View()->page(), "typeof PicturesShow", "function", 20000);
    PicturesWindow* window = ShowPicturesWindow();
    window->resize(820, 600);
    Settle(500);

    const TreeMemory idle = SampleTree();
    ListOnce(window, paths); // warms the caches
    std::vector<double> listed;
    std::vector<double> stalls;
    std::vector<double> exiftool;
    long peakPss = 0;
    long peakRss = 0;
    for (int run = 0; run < runs; ++run) {
        const Listing listing = ListOnce(window, paths);
        listed.push_back(listing.ms);
        stalls.push_back(listing.longestStallMs);
        peakPss = std::max(peakPss, listing.peak.pss);
        peakRss = std::max(peakRss, listing.peak.rss);
        exiftool.push_back(Bench::TimeProcess("exiftool", QStringList{"-fast2", "-j"} + files));
    }
    std::printf("%d pictures\n", count);
    Bench::PrintRow("Pictures window: listed, read, visible thumbnails", listed);
    Bench::PrintRow("  longest stall of the window's thread", stalls);
    Bench::PrintRow("exiftool -fast2 -j, same files, one process", exiftool);
    std::printf("process tree before listing: PSS %ld MiB, RSS sum %ld MiB\n", idle.pss / 1024,
                idle.rss / 1024);
    std::printf("peak of the process tree while listing: PSS %ld MiB, RSS sum %ld MiB\n",
                peakPss / 1024, peakRss / 1024);
    StopKartavo(std::move(main));
    return 0;
}
