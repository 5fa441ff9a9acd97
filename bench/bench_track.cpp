// Opening a large track and matching many picture times to it, against the peers opening the
// same track to tag one picture. Run by hand: see README.md.
#include "BenchSupport.h"

#include "track/GpxReader.h"
#include "track/PictureTime.h"
#include "track/TrackMatcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>

#include <sys/resource.h>

namespace {

long StatusKb(const char* key) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool WriteGpx(const QString& path, int points, qint64 startMs) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="bench" xmlns="http://www.topografix.com/GPX/1/1"><trk><name>Long day</name><trkseg>
)");
    for (int i = 0; i < points; ++i) {
        // One point a second, a new segment every 20,000 points.
        if (i && i % 20000 == 0)
            file.write("</trkseg><trkseg>\n");
        const double lat = 46.5 + 0.00002 * i + 0.001 * std::sin(i * 0.01);
        const double lon = 8.0 + 0.00003 * i;
        file.write(
            QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time></trkpt>\n")
                .arg(lat, 0, 'f', 7)
                .arg(lon, 0, 'f', 7)
                .arg(500 + 100 * std::sin(i * 0.001), 0, 'f', 1)
                .arg(QDateTime::fromMSecsSinceEpoch(startMs + i * 1000LL, QTimeZone::utc())
                         .toString(Qt::ISODate))
                .toUtf8());
    }
    file.write("</trkseg></trk></gpx>\n");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 11, points = 100000, pictures = 5000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--points"))
            points = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--pictures"))
            pictures = std::atoi(argv[++i]);
    }
    QTemporaryDir dir;
    const QString gpx = dir.filePath("long.gpx");
    const qint64 start =
        QDateTime::fromString("2024-07-20T04:00:00Z", Qt::ISODate).toMSecsSinceEpoch();
    if (!WriteGpx(gpx, points, start))
        return 1;
    std::printf("track: %d points, %.1f MB; %d picture times, zone Europe/Berlin\n", points,
                QFile(gpx).size() / 1e6, pictures);

    // Camera times through the day, as the pictures would give them.
    const QTimeZone zone("Europe/Berlin");
    std::vector<CameraTime> times;
    for (int i = 0; i < pictures; ++i) {
        const qint64 ms = start + qint64(i) * points * 1000LL / pictures + 137;
        times.push_back({QDateTime::fromMSecsSinceEpoch(ms, zone).toString("yyyy:MM:dd HH:mm:ss"),
                         i % 2 ? QStringLiteral("+02:00") : QString()});
    }
    const long baseKb = StatusKb("VmRSS:");

    std::vector<double> open, match, total;
    int matched = 0;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const GpxResult result = ReadGpxFile(gpx);
        std::vector<const Track*> tracks;
        for (const Track& t : result.tracks)
            tracks.push_back(&t);
        const TrackMatcher matcher(tracks);
        const double opened = Bench::Milliseconds(timer);
        matched = 0;
        for (const CameraTime& time : times) {
            const auto utc = PictureUtcMs(time, zone, 30000);
            if (utc && matcher.Match(*utc, 60000).kind != MatchKind::NoMatch)
                ++matched;
        }
        const double all = Bench::Milliseconds(timer);
        if (run == 0)
            continue; // warm-up
        open.push_back(opened);
        match.push_back(all - opened);
        total.push_back(all);
    }
    Bench::PrintRow("open the track (read GPX, sort)", open);
    Bench::PrintRow("match the picture times", match);
    Bench::PrintRow("both", total);
    std::printf("matched %d of %d; memory: %ld kB before, peak %ld kB (VmHWM)\n", matched, pictures,
                baseKb, StatusKb("VmHWM:"));

    // The peers cannot be given times without files: each opens the same track to tag one
    // small JPEG, which is mostly the cost of reading the track.
    const QString jpeg = dir.filePath("one.jpg");
    QFile::copy(QStringLiteral(KARTAVO_SOURCE_DIR "/res/images/photo.jpg"), jpeg);
    QFile::setPermissions(jpeg, QFile::ReadOwner | QFile::WriteOwner);
    const QString when =
        QDateTime::fromMSecsSinceEpoch(start + 3600000, zone).toString("yyyy:MM:dd HH:mm:ss");
    Bench::Tag(jpeg, {"-DateTimeOriginal=" + when});
    std::vector<double> exiftool, gpscorrelate;
    for (int run = 0; run <= runs; ++run) {
        const double e =
            Bench::TimeProcess("exiftool", {"-q", "-overwrite_original", "-geotag", gpx, "-api",
                                            "GeoMaxIntSecs=60", "-api", "GeoMaxExtSecs=60", jpeg});
        const double g =
            Bench::TimeProcess("gpscorrelate", {"-g", gpx, "-z", "+2", "-R", "-M", jpeg});
        if (run > 0) {
            exiftool.push_back(e);
            gpscorrelate.push_back(g);
        }
    }
    Bench::PrintRow("exiftool -geotag, same track, one picture", exiftool);
    Bench::PrintRow("gpscorrelate -g, same track, one picture", gpscorrelate);
    return 0;
}
