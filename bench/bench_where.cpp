// Where pictures were taken, from other sources: a 1 GB location history read for one week
// of it, track files read through gpsbabel beside gpsbabel alone, and place names for 5,000
// pictures from the offline city list. Run by hand: bench_where [FOLDER] (default /tmp).
#include "places/PlaceNames.h"
#include "track/GpsbabelTrack.h"
#include "track/LocationHistory.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// This process's peak resident memory in KiB; ResetPeak starts it again from now.
long PeakKiB() {
    QFile file(QStringLiteral("/proc/self/status"));
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
long CurrentKiB() {
    QFile file(QStringLiteral("/proc/self/status"));
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
void ResetPeak() {
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

constexpr qint64 kStartMs = 1420070400000; // 2015-01-01T00:00:00Z

// Records.json as the account export writes it, a record a minute from 2015 on, until the
// file is a gigabyte; written in pieces, so this process stays small.
qint64 MakeRecords(const QString& path, qint64 bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write("{\n  \"locations\": [");
    QRandomGenerator random(26);
    QByteArray chunk;
    qint64 i = 0;
    while (file.size() + chunk.size() < bytes) {
        const qint64 ms = kStartMs + i * 60000;
        const QString iso = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
        chunk += QStringLiteral("%1{\n    \"latitudeE7\": %2,\n    \"longitudeE7\": %3,\n"
                                "    \"accuracy\": %4,\n    \"altitude\": %5,\n"
                                "    \"source\": \"WIFI\",\n    \"deviceTag\": 1234567890,\n"
                                "    \"timestamp\": \"%6\"\n  }")
                     .arg(i == 0 ? "\n  " : ",\n  ")
                     .arg(473700000 + qint64(random.bounded(100000)))
                     .arg(85400000 + qint64(random.bounded(100000)))
                     .arg(random.bounded(300))
                     .arg(400 + random.bounded(100))
                     .arg(iso)
                     .toUtf8();
        ++i;
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    file.write("\n  ]\n}\n");
    return i;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const QString records = folder + QStringLiteral("/bench-Records.json");

    QElapsedTimer timer;
    if (!QFile::exists(records)) {
        timer.start();
        const qint64 n = MakeRecords(records, 1LL << 30);
        std::printf("made %s: %lld records, %.1f s\n", qPrintable(records), n,
                    Bench::Milliseconds(timer) / 1000);
    }
    std::printf("Records.json of %.2f GiB\n", QFileInfo(records).size() / double(1LL << 30));

    // One week in the middle of the history.
    LocationHistoryOptions options;
    options.fromMs = kStartMs + 365LL * 86400000;
    options.toMs = options.fromMs + 7LL * 86400000 - 1;
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        const long before = CurrentKiB();
        ResetPeak();
        timer.start();
        const LocationHistoryResult result = ReadLocationHistory(records, options);
        times.push_back(Bench::Milliseconds(timer));
        std::printf("  run %d: %s peak %ld KiB above the %ld KiB before (%s)\n", run + 1,
                    result.ok ? "ok," : "FAILED,", PeakKiB() - before, before,
                    qPrintable(DescribeLocationHistory(result)));
    }
    Bench::PrintRow("Records.json 1 GiB, one week kept", times);
    std::printf("  (gpsbabel 1.8 has no reader for location history JSON: no side-by-side)\n");

    // A track file through gpsbabel: Kartavo's whole read against gpsbabel's conversion alone.
    const QString gpx = folder + QStringLiteral("/bench-ride.gpx");
    const QString fit = folder + QStringLiteral("/bench-ride.fit");
    {
        QFile file(gpx);
        file.open(QIODevice::WriteOnly);
        file.write("<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"bench\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n");
        for (int i = 0; i < 100000; ++i)
            file.write(QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time>"
                                      "</trkpt>\n")
                           .arg(47.37 + i * 1e-5, 0, 'f', 7)
                           .arg(8.54 + i * 1e-5, 0, 'f', 7)
                           .arg(400 + i % 50)
                           .arg(QDateTime::fromMSecsSinceEpoch(kStartMs + i * 1000LL, Qt::UTC)
                                    .toString(Qt::ISODate))
                           .toUtf8());
        file.write("</trkseg></trk></gpx>\n");
    }
    Bench::TimeProcess("gpsbabel", {"-i", "gpx", "-f", gpx, "-o", "garmin_fit", "-F", fit});
    std::vector<double> ours, theirs;
    long theirPeak = 0;
    for (int run = 0; run < 3; ++run) {
        timer.start();
        const GpxResult result = ReadTrackFile(fit);
        ours.push_back(Bench::Milliseconds(timer));
        if (!result.ok)
            std::printf("  FIT read failed: %s\n", qPrintable(result.error));
        theirs.push_back(Bench::TimeProcess(
            "gpsbabel", {"-i", "garmin_fit", "-f", fit, "-o", "gpx", "-F", "/dev/null"},
            &theirPeak));
    }
    Bench::PrintRow("FIT, 100,000 points: Kartavo (gpsbabel + GPX reader)", ours);
    Bench::PrintRow("FIT, 100,000 points: gpsbabel -o gpx alone", theirs);
    std::printf("  gpsbabel's own peak: %ld KiB\n", theirPeak);

    // Place names of 5,000 pictures spread over the land of Europe.
    QRandomGenerator random(5000);
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 5000; ++i)
        points.emplace_back(36 + random.bounded(24.0), -9 + random.bounded(40.0));
    NearestPlaceName(0, 0); // the list is read once, at the first look-up
    std::vector<double> naming;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        int named = 0;
        for (const auto& [lat, lon] : points)
            named += NearestPlaceName(lat, lon).has_value() ? 1 : 0;
        naming.push_back(Bench::Milliseconds(timer));
        if (run == 0)
            std::printf("  %d of 5,000 points named\n", named);
    }
    Bench::PrintRow("place names of 5,000 pictures, offline", naming);
    timer.start();
    return 0;
}
