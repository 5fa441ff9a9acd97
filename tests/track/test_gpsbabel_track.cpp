#include "track/GpsbabelTrack.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

// Track files of other formats, made by gpsbabel itself from a GPX this test writes, read
// back through the same converter and GPX reader.
class TestGpsbabelTrack : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void converted_data();
    void converted();
    void refused_data();
    void refused();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
    QString m_gpx;
};

namespace {

constexpr qint64 kStart = 1719824400000; // 2024-07-01T09:00:00Z
constexpr int kPoints = 20;

double Lat(int i) {
    return 47.37 + 0.0002 * i;
}
double Lon(int i) {
    return 8.54 + 0.0003 * i;
}

std::vector<TrackPoint> Points(const Track& track) {
    std::vector<TrackPoint> points;
    for (const TrackSegment& segment : track.segments)
        points.insert(points.end(), segment.begin(), segment.end());
    return points;
}

} // namespace

QString TestGpsbabelTrack::Write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestGpsbabelTrack::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("gpsbabel")).isEmpty())
        QFAIL("gpsbabel is not installed (tools/install-deps.sh installs it)");
    QByteArray gpx = R"(<?xml version="1.0"?><gpx version="1.1" creator="test"
xmlns="http://www.topografix.com/GPX/1/1"><trk><name>ride</name><trkseg>)";
    for (int i = 0; i < kPoints; ++i)
        gpx += QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time>"
                              "<fix>3d</fix><sat>8</sat></trkpt>\n")
                   .arg(Lat(i), 0, 'f', 7)
                   .arg(Lon(i), 0, 'f', 7)
                   .arg(400 + i)
                   .arg(QDateTime::fromMSecsSinceEpoch(kStart + i * 5000LL, Qt::UTC)
                            .toString(Qt::ISODate))
                   .toUtf8();
    gpx += "</trkseg></trk></gpx>\n";
    m_gpx = Write(QStringLiteral("source.gpx"), gpx);
}

void TestGpsbabelTrack::converted_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("asSource"); // the format keeps every point as it was written
    QTest::newRow("FIT") << "garmin_fit"
                         << "ride.fit" << true;
    // gpsbabel reads its own NMEA with each fix's time one sentence late: what counts is that
    // Kartavo reads what gpsbabel reads.
    QTest::newRow("NMEA") << "nmea"
                          << "logger.NMEA" << false;
}

void TestGpsbabelTrack::converted() {
    QFETCH(QString, format);
    QFETCH(QString, name);
    QFETCH(bool, asSource);
    const QString path = m_dir.filePath(name);
    QCOMPARE(QProcess::execute(QStringLiteral("gpsbabel"),
                               {"-i", "gpx", "-f", m_gpx, "-o", format, "-F", path}),
             0);
    QCOMPARE(GpsbabelFormat(path), format);

    const GpxResult result = ReadTrackFile(path);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.tracks.size(), std::size_t(1));
    QCOMPARE(result.tracks[0].fileName, path); // the file the user chose, not the conversion
    const std::vector<TrackPoint> points = Points(result.tracks[0]);

    const QString reference = path + QStringLiteral(".gpx");
    QCOMPARE(QProcess::execute(QStringLiteral("gpsbabel"),
                               {"-i", format, "-f", path, "-o", "gpx", "-F", reference}),
             0);
    const GpxResult expected = ReadGpxFile(reference);
    QVERIFY(expected.ok);
    const std::vector<TrackPoint> want = Points(expected.tracks[0]);
    QCOMPARE(points.size(), want.size());
    QVERIFY(points.size() >= kPoints - 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        QCOMPARE(points[i].utcMs, want[i].utcMs);
        QCOMPARE(points[i].latitude, want[i].latitude);
        QCOMPARE(points[i].longitude, want[i].longitude);
        if (asSource) {
            QCOMPARE(points[i].utcMs, kStart + qint64(i) * 5000);
            QVERIFY(std::abs(points[i].latitude - Lat(int(i))) < 1e-6);
            QVERIFY(std::abs(points[i].longitude - Lon(int(i))) < 1e-6);
        }
    }
}

void TestGpsbabelTrack::refused_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("script"); // a stand-in gpsbabel written to the program path
    QTest::addColumn<int>("cancelAfterMs");
    QTest::addColumn<QString>("message");

    // gpsbabel's own first error line, whole.
    QTest::newRow("not a FIT file") << "gpsbabel" << QByteArray() << -1
                                    << "gpsbabel cannot read bad.fit: fit: File CRC mismatch";
    QTest::newRow("missing") << "/nonexistent/gpsbabel" << QByteArray() << -1
                             << "Install the gpsbabel package";
    QTest::newRow("crashing") << "crash" << QByteArray("#!/bin/sh\nkill -SEGV $$\n") << -1
                              << "stopped unexpectedly";
    QTest::newRow("hanging") << "hang" << QByteArray("#!/bin/sh\nexec sleep 30\n") << -1
                             << "longer than 1 second";
    QTest::newRow("cancelled") << "hang" << QByteArray("#!/bin/sh\nexec sleep 30\n") << 200
                               << "cancelled";
    QTest::newRow("refusing without a word")
        << "quiet" << QByteArray("#!/bin/sh\necho '<gpx>'\nexit 3\n") << -1 << "exit code 3";
}

void TestGpsbabelTrack::refused() {
    QFETCH(QString, program);
    QFETCH(QByteArray, script);
    QFETCH(int, cancelAfterMs);
    QFETCH(QString, message);
    const QString path = Write(QStringLiteral("bad.fit"), "this is no FIT file\n");
    GpsbabelOptions options;
    options.program = program;
    options.timeLimitMs = 1000;
    if (!script.isEmpty()) {
        options.program = Write(program, script);
        QFile::setPermissions(options.program, QFile::ReadOwner | QFile::ExeOwner);
    }
    std::atomic<bool> cancel{false};
    options.cancel = &cancel;
    std::thread canceller;
    if (cancelAfterMs >= 0)
        canceller = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(cancelAfterMs));
            cancel = true;
        });
    QElapsedTimer clock;
    clock.start();
    const GpxResult result = ReadTrackFile(path, options);
    if (canceller.joinable())
        canceller.join();
    QVERIFY(!result.ok);
    QVERIFY(result.tracks.empty());
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(clock.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(TestGpsbabelTrack)
#include "test_gpsbabel_track.moc"
