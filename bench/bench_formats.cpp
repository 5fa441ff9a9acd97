// Listing many pictures of mixed formats in the Pictures window, against as many JPEGs:
// the time until every row is read and has its thumbnail, and how late the window's
// event loop ran meanwhile. Run by hand: see README.md.
#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesWindow.h"
#include "bench/BenchSupport.h"
#include "pictures/PictureList.h"

#include "tests/formats/FormatPictures.h"
#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Listing {
    double allRead = 0;
    double allThumbnails = 0;
    double worstLateness = 0; // the longest the event loop kept a 5 ms timer waiting
};

// Makes count files named stem-N.ext, copies of one made file.
QList<QByteArray> Copies(const QString& folder, const QString& made, const QString& stem,
                         int count) {
    QList<QByteArray> paths;
    const QString extension = QFileInfo(made).suffix();
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/%2-%3.%4").arg(folder, stem).arg(i).arg(extension);
        QFile::copy(made, path);
        paths << QFile::encodeName(path);
    }
    return paths;
}

Listing List(PicturesWindow* window, const QList<QByteArray>& paths) {
    PictureList* list = window->Model();
    list->removeRows(0, list->Count());
    Listing result;
    QElapsedTimer clock;
    QElapsedTimer tick;
    QTimer beat;
    beat.setInterval(5);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        result.worstLateness = std::max(result.worstLateness, double(tick.elapsed()) - 5);
        tick.restart();
    });
    clock.start();
    tick.start();
    beat.start();
    window->AddPictures(paths);
    WaitUntil(
        [&] {
            bool read = list->Count() == paths.size();
            bool thumbnails = read;
            for (int row = 0; row < list->Count(); ++row) {
                read = read && list->IsRead(row);
                // Asking is what painting the row does: it starts the thumbnail.
                const QVariant image =
                    list->data(list->index(row, PictureList::Thumbnail), Qt::DecorationRole);
                thumbnails =
                    thumbnails && list->IsRead(row) && (!list->Info(row).ok || !image.isNull());
            }
            if (read && result.allRead == 0)
                result.allRead = clock.elapsed();
            return thumbnails;
        },
        600000);
    result.allThumbnails = clock.elapsed();
    beat.stop();
    int ok = 0, shown = 0;
    for (int row = 0; row < list->Count(); ++row) {
        ok += list->Info(row).ok;
        shown += !list->data(list->index(row, PictureList::Thumbnail), Qt::DecorationRole).isNull();
    }
    if (shown < ok)
        std::printf("only %d of %d read pictures have a thumbnail\n", shown, ok);
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"runs", "Timed runs of each list.", "n", "3"});
    parser.addOption({"count", "Pictures in each list.", "n", "200"});
    parser.addHelpOption();
    parser.process(app);
    const int runs = parser.value("runs").toInt();
    const int count = parser.value("count").toInt();

    QTemporaryDir config, data, cache, folder;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());

    // A 2000x1500 photograph-like picture, as a JPEG with its Exif thumbnail, as the
    // preview of a RAW file (whose own picture is a 64x48 RGB one), and as a HEIC.
    // BENCH_ONLY=raw or heic lists only that kind.
    const QString jpeg = folder.filePath("made.jpg"), thumb = folder.filePath("thumb.jpg");
    const QString raw = folder.filePath("made.nef"), heic = folder.filePath("made.heic");
    using FormatPictures::RunTool;
    RunTool("convert",
            {"-size", "2000x1500", "plasma:steelblue-forestgreen", "-quality", "90", jpeg});
    // The HEIC without an Exif thumbnail, as phones make them: its thumbnail is decoded.
    RunTool("heif-enc", {"-q", "80", "-o", heic, jpeg});
    RunTool("convert", {jpeg, "-resize", "160x120", thumb});
    RunTool("exiftool", {"-q", "-overwrite_original", "-ThumbnailImage<=" + thumb,
                         "-DateTimeOriginal=2021:06:05 14:30:00", jpeg});
    QFile preview(jpeg);
    preview.open(QIODevice::ReadOnly);
    FormatPictures::WriteFile(raw, FormatPictures::RawWithPreview(preview.readAll(), 64, 48));
    if (!QFile::exists(heic) || !QFile::exists(raw)) {
        std::fprintf(stderr, "could not make the pictures\n");
        return 1;
    }

    const QString only = qEnvironmentVariable("BENCH_ONLY");
    const int heics = only == "raw" ? 0 : only == "heic" ? count : count / 5;
    const int raws = only == "heic" ? 0 : only == "raw" ? count : (count * 2) / 5;
    QList<QByteArray> mixed = Copies(folder.path(), jpeg, "m", count - heics - raws);
    mixed << Copies(folder.path(), raw, "m", raws) << Copies(folder.path(), heic, "m", heics);
    const QList<QByteArray> jpegs = Copies(folder.path(), jpeg, "j", count);

    SetNetworkStateProvider([] { return true; });
    std::unique_ptr<QWidget> main = StartKartavo();
    PicturesWindow* window = ShowPicturesWindow();
    Settle(1000);

    std::printf("%d pictures: %d JPEG, %d RAW (NEF with a 2000x1500 preview), %d HEIC "
                "(2000x1500)\n",
                count, count - heics - raws, raws, heics);
    List(window, jpegs); // warms the caches
    std::vector<double> mixedRead, mixedAll, mixedLate, jpegRead, jpegAll, jpegLate;
    for (int run = 0; run < runs; ++run) {
        const Listing m = List(window, mixed);
        mixedRead.push_back(m.allRead);
        mixedAll.push_back(m.allThumbnails);
        mixedLate.push_back(m.worstLateness);
        const Listing j = List(window, jpegs);
        jpegRead.push_back(j.allRead);
        jpegAll.push_back(j.allThumbnails);
        jpegLate.push_back(j.worstLateness);
    }
    Bench::PrintRow("mixed: all read", mixedRead);
    Bench::PrintRow("mixed: all thumbnails shown", mixedAll);
    Bench::PrintRow("mixed: worst event-loop delay", mixedLate);
    Bench::PrintRow("JPEG only: all read", jpegRead);
    Bench::PrintRow("JPEG only: all thumbnails shown", jpegAll);
    Bench::PrintRow("JPEG only: worst event-loop delay", jpegLate);
    StopKartavo(std::move(main));
    return 0;
}
