#include "track/GpxReader.h"
#include "track/PictureTime.h"
#include "track/TimeText.h"
#include "track/TrackMatcher.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// The same pictures, track, zone and clock correction through ExifTool's own geotagging and
// through ours: where both interpolate, the positions agree.
class TestGeotagAgreement : public QObject {
    Q_OBJECT
private slots:
    void agree_data();
    void agree();
};

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run Exiftool(const QStringList& args, const QByteArray& tz = QByteArray()) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!tz.isEmpty())
        env.insert("TZ", QString::fromLatin1(tz));
    process.setProcessEnvironment(env);
    process.start("exiftool", args);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A winding track of 60 points, 4 to 13.5 s apart, some times with fractions, across
// midnight UTC.
QByteArray MakeGpx(qint64 startMs) {
    QByteArray gpx = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>
)";
    qint64 ms = startMs;
    for (int i = 0; i < 60; ++i) {
        const double lat = 40.7 + 0.0013 * i + 0.0004 * std::sin(i * 0.7);
        const double lon = -74.0 + 0.0009 * i - 0.0005 * std::cos(i * 1.3);
        const double ele = 12.5 + 3.25 * std::sin(i * 0.4);
        gpx += QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time></trkpt>\n")
                   .arg(lat, 0, 'f', 7)
                   .arg(lon, 0, 'f', 7)
                   .arg(ele, 0, 'f', 2)
                   .arg(QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc())
                            .toString(Qt::ISODateWithMs))
                   .toUtf8();
        ms += 4000 + (i * 3500) % 9500;
    }
    return gpx + "</trkseg></trk></gpx>\n";
}

} // namespace

void TestGeotagAgreement::agree_data() {
    QTest::addColumn<QByteArray>("zone"); // the camera's zone (TZ for ExifTool)
    QTest::addColumn<QString>("offset");  // OffsetTimeOriginal, or empty
    QTest::addColumn<QString>("correction");

    QTest::newRow("zone west of UTC, summer time, camera slow")
        << QByteArray("America/New_York") << QString() << "+0:01:30";
    QTest::newRow("picture's own offset, camera fast") << QByteArray("UTC") << "+05:30"
                                                       << "-0:00:45";
}

void TestGeotagAgreement::agree() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, offset);
    QFETCH(QString, correction);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const qint64 start =
        QDateTime::fromString("2024-06-30T23:58:00.500Z", Qt::ISODateWithMs).toMSecsSinceEpoch();
    const QString gpxPath = dir.filePath("track.gpx");
    {
        QFile gpx(gpxPath);
        QVERIFY(gpx.open(QIODevice::WriteOnly));
        gpx.write(MakeGpx(start));
    }
    const GpxResult track = ReadGpxFile(gpxPath);
    QVERIFY2(track.ok, qPrintable(track.error));
    const TrackMatcher matcher({&track.tracks[0]});
    const qint64 correctionMs = *ParseClockCorrection(correction);
    const QTimeZone tz(zone);

    // Pictures at true moments through the track; the camera shows them in its zone, off by
    // the correction.
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QStringList files, tagArgs;
    QList<CameraTime> times;
    for (int i = 0; i < 12; ++i) {
        const qint64 trueMs = start + 3000 + i * 41000 + (i % 3) * 1700;
        const QDateTime trueTime = QDateTime::fromMSecsSinceEpoch(trueMs, QTimeZone::utc());
        const QDateTime shown = offset.isEmpty() ? trueTime.toTimeZone(tz)
                                                 : trueTime.toOffsetFromUtc(*OffsetSeconds(offset));
        const QDateTime camera = shown.addMSecs(-correctionMs);
        const CameraTime time{camera.toString("yyyy:MM:dd HH:mm:ss"), offset};
        const QString file = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        QVERIFY(image.save(file, "JPG"));
        tagArgs << "-DateTimeOriginal=" + time.dateTime;
        if (!offset.isEmpty())
            tagArgs << "-OffsetTimeOriginal=" + offset;
        tagArgs << file << "-execute";
        files << file;
        times << time;
    }
    QCOMPARE(Exiftool(QStringList{"-q", "-overwrite_original"} + tagArgs).exitCode, 0);

    const QString geotime = offset.isEmpty() ? "-Geotime<${DateTimeOriginal}"
                                             : "-Geotime<${DateTimeOriginal}${OffsetTimeOriginal}";
    const Run geotag = Exiftool(QStringList{"-q", "-overwrite_original", "-geotag", gpxPath,
                                            geotime, "-geosync=" + correction, "-api",
                                            "GeoMaxIntSecs=60", "-api", "GeoMaxExtSecs=0"} +
                                    files,
                                zone);
    QVERIFY2(geotag.exitCode == 0, geotag.err.constData());
    const Run read = Exiftool(QStringList{"-j", "-n", "-GPSLatitude", "-GPSLongitude",
                                          "-GPSAltitude", "-GPSAltitudeRef"} +
                              files);
    const QJsonArray tags = QJsonDocument::fromJson(read.out).array();
    QCOMPARE(tags.size(), files.size());

    int compared = 0;
    for (int i = 0; i < files.size(); ++i) {
        const auto utc = PictureUtcMs(times[i], tz, correctionMs);
        QVERIFY(utc);
        const MatchResult ours = matcher.Match(*utc, 60000);
        const QJsonObject theirs = tags[i].toObject();
        QCOMPARE(int(ours.kind), int(MatchKind::Interpolated));
        QVERIFY2(theirs.contains("GPSLatitude"), qPrintable(files[i]));
        QVERIFY2(std::abs(theirs["GPSLatitude"].toDouble() - ours.latitude) < 1e-6,
                 qPrintable(QStringLiteral("%1: %2 against %3")
                                .arg(files[i])
                                .arg(theirs["GPSLatitude"].toDouble(), 0, 'f', 9)
                                .arg(ours.latitude, 0, 'f', 9)));
        QVERIFY(std::abs(theirs["GPSLongitude"].toDouble() - ours.longitude) < 1e-6);
        QVERIFY(ours.elevation);
        QVERIFY(std::abs(theirs["GPSAltitude"].toDouble() - *ours.elevation) < 0.01);
        ++compared;
    }
    QCOMPARE(compared, 12);
}

QTEST_GUILESS_MAIN(TestGeotagAgreement)
#include "test_geotag_agreement.moc"
