// Listing many pictures of mixed formats in the Pictures window, against as many JPEGs:
// the time until every row is read and has its thumbnail, and how late the window's
// event loop ran meanwhile. Then a phone-sized HEIC's preview against libheif's own
// decode of it. Run by hand: see README.md.
#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesWindow.h"
#include "bench/BenchSupport.h"
#include "formats/PicturePreview.h"
#include "pictures/PictureList.h"

#include "tests/formats/FormatPictures.h"
#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

#include <libheif/heif.h>

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

// libheif's own decode of path's main picture, as its tools do it: read, decode into
// colorspace and chroma (undefined: as coded, no conversion); milliseconds, -1 on failure.
double LibheifDecode(const QByteArray& path, heif_colorspace colorspace, heif_chroma chroma) {
    QElapsedTimer clock;
    clock.start();
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    const bool ok =
        heif_context_read_from_file(context, path.constData(), nullptr).code == heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
        heif_decode_image(handle, &image, colorspace, chroma, nullptr).code == heif_error_Ok;
    if (image)
        heif_image_release(image);
    if (handle)
        heif_image_handle_release(handle);
    heif_context_free(context);
    return ok ? Bench::Milliseconds(clock) : -1;
}

// The preview of a phone-sized HEIC as the photo view makes it (decoded, scaled to the
// view's 1600 pixels, kept as a JPEG), each run on a fresh copy so that no kept preview
// is found; against libheif decoding the same file, and heif-convert making a JPEG of it.
void HeicPreview(const QString& folder, int runs) {
    const QString jpeg = folder + "/phone.jpg", heic = folder + "/phone.heic";
    using FormatPictures::RunTool;
    RunTool("convert", {"-size", "4032x3024", "plasma:tan-steelblue", "-quality", "92", jpeg});
    RunTool("heif-enc", {"-q", "80", "-t", "320", "-o", heic, jpeg});
    heif_init(nullptr);
    std::vector<double> preview, asCoded, rgb, convert;
    for (int run = -1; run < runs; ++run) { // the first warms the caches
        const QString copy = QStringLiteral("%1/phone-%2.heic").arg(folder).arg(run + 1);
        QFile::copy(heic, copy);
        QElapsedTimer clock;
        clock.start();
        QString why;
        const QString made = PicturePreview::CachedPreviewFile(QFile::encodeName(copy), &why);
        const double previewMs = Bench::Milliseconds(clock);
        if (made.isEmpty())
            std::printf("no preview: %s\n", qPrintable(why));
        const double codedMs = LibheifDecode(QFile::encodeName(copy), heif_colorspace_undefined,
                                             heif_chroma_undefined);
        const double rgbMs = LibheifDecode(QFile::encodeName(copy), heif_colorspace_RGB,
                                           heif_chroma_interleaved_RGB);
        const double convertMs =
            Bench::TimeProcess("heif-convert", {"-q", "90", copy, folder + "/converted.jpg"});
        if (run < 0)
            continue;
        preview.push_back(previewMs);
        asCoded.push_back(codedMs);
        rgb.push_back(rgbMs);
        convert.push_back(convertMs);
    }
    std::printf("\nHEIC 4032x3024 (heif-enc -q 80 -t 320), one at a time:\n");
    Bench::PrintRow("Kartavo preview (decode, scale to 1600, keep as JPEG)", preview);
    Bench::PrintRow("libheif decode, as coded (YCbCr 4:2:0)", asCoded);
    Bench::PrintRow("libheif decode into RGB", rgb);
    Bench::PrintRow("heif-convert -q 90 to JPEG (a process)", convert);
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
    // The HEIC as phones make them: a 320 pixel thumbnail of its own, none in its Exif.
    // BENCH_HEIC_THUMBNAIL=0 makes it without one, so that each is decoded whole.
    const QString heicThumbnail = qEnvironmentVariable("BENCH_HEIC_THUMBNAIL", "320");
    if (heicThumbnail == "0")
        RunTool("heif-enc", {"-q", "80", "-o", heic, jpeg});
    else
        RunTool("heif-enc", {"-q", "80", "-t", heicThumbnail, "-o", heic, jpeg});
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
                "(2000x1500, thumbnail %s)\n",
                count, count - heics - raws, raws, heics, qPrintable(heicThumbnail));
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
    HeicPreview(folder.path(), runs);
    StopKartavo(std::move(main));
    return 0;
}
