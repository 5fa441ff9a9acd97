#include "track/GpxReader.h"

#include <QTemporaryDir>
#include <QtTest>

class TestGpxReader : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void largeTrack();

private:
    QTemporaryDir m_dir;
};

namespace {

const char* const kHead11 = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:gpxtpx="http://www.garmin.com/xmlschemas/TrackPointExtension/v1">
)";

qint64 Ms(const char* iso) {
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

} // namespace

void TestGpxReader::read_data() {
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QString>("error"); // a part of the message, empty when it must load
    QTest::addColumn<QList<int>>("segmentSizes");
    QTest::addColumn<int>("timedPoints");
    QTest::addColumn<qint64>("firstMs");
    QTest::addColumn<qint64>("lastMs");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<QPointF>>("starts"); // each segment's first latitude, longitude

    QTest::newRow("1.1, segments, extensions, Z and offset")
        << QByteArray(kHead11) +
               R"(<metadata><name>meta</name><time>2020-01-01T00:00:00Z</time></metadata>
<wpt lat="1" lon="1"><time>2019-01-01T00:00:00Z</time></wpt>
<trk><name>Morning ride</name><extensions><x/></extensions>
<trkseg>
 <trkpt lat="48.1" lon="11.5"><ele>520.5</ele><time>2024-05-01T08:00:00Z</time>
  <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>120</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions></trkpt>
 <trkpt lat="48.2" lon="11.6"><time>2024-05-01T10:00:10+02:00</time></trkpt>
</trkseg>
<trkseg><trkpt lat="48.3" lon="11.7"><time>2024-05-01T08:05:00.250Z</time></trkpt></trkseg>
</trk></gpx>)"
        << QString() << QList<int>{2, 1} << 3 << Ms("2024-05-01T08:00:00Z")
        << Ms("2024-05-01T08:05:00.250Z") << "Morning ride"
        << QList<QPointF>{{48.1, 11.5}, {48.3, 11.7}};
    QTest::newRow("1.0, no suffix is UTC, missing and bad times")
        << QByteArray(R"(<?xml version="1.0"?>
<gpx version="1.0" creator="old" xmlns="http://www.topografix.com/GPX/1/0">
<time>2002-02-27T17:18:33Z</time>
<trk><trkseg>
<trkpt lat="-33.9" lon="151.2"><ele>3</ele><time>2002-02-10T21:01:29</time><course>12</course><speed>1.5</speed></trkpt>
<trkpt lat="-33.91" lon="151.21"></trkpt>
<trkpt lat="-33.92" lon="151.22"><time>yesterday</time></trkpt>
<trkpt lat="-33.93" lon="151.23"><time>2002-02-10T21:05:00.123456Z</time></trkpt>
</trkseg></trk></gpx>)")
        << QString() << QList<int>{4} << 2 << Ms("2002-02-10T21:01:29Z")
        << Ms("2002-02-10T21:05:00.123Z") << "track" << QList<QPointF>{{-33.9, 151.2}};
    QTest::newRow("no namespace, route drawn without times")
        << QByteArray(R"(<gpx><rte><name>Plan</name>
<rtept lat="1" lon="2"><time>2024-01-01T00:00:00Z</time></rtept><rtept lat="1.1" lon="2.1"/>
</rte></gpx>)")
        << QString() << QList<int>{2} << 0 << TrackPoint::kNoTime << TrackPoint::kNoTime << "Plan"
        << QList<QPointF>{{1, 2}};
    QTest::newRow("other namespace's trkpt is not ours")
        << QByteArray(kHead11) +
               R"(<trk><trkseg><trkpt lat="1" lon="2"><time>2024-01-01T00:00:00Z</time>
<extensions><trkpt xmlns="urn:other" lat="9" lon="9"/></extensions></trkpt></trkseg></trk></gpx>)"
        << QString() << QList<int>{1} << 1 << Ms("2024-01-01T00:00:00Z")
        << Ms("2024-01-01T00:00:00Z") << "track" << QList<QPointF>{{1, 2}};

    QTest::newRow("broken half way")
        << QByteArray(kHead11) + "<trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\"></trkpt>\n"
                                 "<trkpt lat=\"1\" lon=\"2\"></trkseg></trk></gpx>\n"
        << "broken at line 6" << QList<int>{} << 0 << qint64(0) << qint64(0) << QString()
        << QList<QPointF>{};
    QTest::newRow("cut off")
        << QByteArray(kHead11) + "<trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\"></trkpt>\n<trkpt lat="
        << "ends too early, at line 6" << QList<int>{} << 0 << qint64(0) << qint64(0) << QString()
        << QList<QPointF>{};
    QTest::newRow("a point without a longitude")
        << QByteArray(kHead11) + "<trk><trkseg>\n<trkpt lat=\"1\"/></trkseg></trk></gpx>"
        << "line 5" << QList<int>{} << 0 << qint64(0) << qint64(0) << QString() << QList<QPointF>{};
    QTest::newRow("SVG is neither")
        << QByteArray("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>")
        << "neither a GPX nor a KML file: it begins with <svg> on line 2" << QList<int>{} << 0
        << qint64(0) << qint64(0) << QString() << QList<QPointF>{};
    QTest::newRow("KML with a timed track and a line")
        << QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2" xmlns:gx="http://www.google.com/kml/ext/2.2">
<Document><name>Doc</name><Folder><Placemark><name>Hike</name><Style/><MultiGeometry>
<gx:Track><altitudeMode>absolute</altitudeMode>
 <when>2024-05-01T08:00:00Z</when><when>2024-05-01T10:00:10+02:00</when><when>2024-05-01T08:00:20.5Z</when>
 <gx:coord>11.5 48.1 520</gx:coord><gx:coord>11.6 48.2 521</gx:coord><gx:coord>11.7 48.3</gx:coord>
</gx:Track>
<LineString><coordinates>11.5,48.1,0
 11.6,48.2</coordinates></LineString></MultiGeometry></Placemark></Folder></Document></kml>)")
        << QString() << QList<int>{3, 2} << 3 << Ms("2024-05-01T08:00:00Z")
        << Ms("2024-05-01T08:00:20.500Z") << "Hike" << QList<QPointF>{{48.1, 11.5}, {48.1, 11.5}};
    QTest::newRow("KML track with more times than positions")
        << QByteArray("<kml xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Placemark>\n"
                      "<gx:Track><when>2024-05-01T08:00:00Z</when>\n"
                      "<when>2024-05-01T08:00:01Z</when><gx:coord>1 2 3</gx:coord>\n"
                      "</gx:Track></Placemark></kml>")
        << "broken at line 4: a track with 2 times for 1 positions" << QList<int>{} << 0
        << qint64(0) << qint64(0) << QString() << QList<QPointF>{};
    QTest::newRow("not XML") << QByteArray("\x89PNG\r\n\x1a\n\0\0binary", 16)
                             << "not a GPX or KML file (line 1" << QList<int>{} << 0 << qint64(0)
                             << qint64(0) << QString() << QList<QPointF>{};
    QTest::newRow("waypoints only") << QByteArray(kHead11) + "<wpt lat=\"1\" lon=\"2\"/></gpx>"
                                    << "holds no track points" << QList<int>{} << 0 << qint64(0)
                                    << qint64(0) << QString() << QList<QPointF>{};
}

void TestGpxReader::read() {
    QFETCH(QByteArray, gpx);
    QFETCH(QString, error);
    QFETCH(QList<int>, segmentSizes);
    QFETCH(int, timedPoints);
    QFETCH(qint64, firstMs);
    QFETCH(qint64, lastMs);
    QFETCH(QString, name);
    QFETCH(QList<QPointF>, starts);

    const QString path = m_dir.filePath("track.gpx");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(gpx);
    file.close();

    const GpxResult result = ReadGpxFile(path);
    if (!error.isEmpty()) {
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(result.error.contains("track.gpx"));
        QVERIFY(result.tracks.empty());
        return;
    }
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(int(result.tracks.size()), 1);
    const Track& track = result.tracks[0];
    QCOMPARE(track.name, name);
    QList<int> sizes;
    for (const TrackSegment& s : track.segments)
        sizes << int(s.size());
    QCOMPARE(sizes, segmentSizes);
    QList<QPointF> firsts;
    for (const TrackSegment& s : track.segments)
        firsts << QPointF(s.front().latitude, s.front().longitude);
    QCOMPARE(firsts, starts);
    const TrackSummary summary = Summarize(track);
    QCOMPARE(summary.timedPoints, timedPoints);
    QCOMPARE(summary.firstMs, firstMs);
    QCOMPARE(summary.lastMs, lastMs);
    QCOMPARE(result.notes.isEmpty(), !gpx.contains("yesterday"));
}

// Every point of a big file, each with its elevation and time.
void TestGpxReader::largeTrack() {
    const QString path = m_dir.filePath("large.gpx");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(kHead11);
    file.write("<trk><name>Big</name><trkseg>\n");
    const qint64 start = Ms("2024-07-01T23:00:00Z");
    const int count = 100000;
    for (int i = 0; i < count; ++i)
        file.write(
            QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time></trkpt>\n")
                .arg(45 + i * 1e-5, 0, 'f', 7)
                .arg(7 + i * 1e-5, 0, 'f', 7)
                .arg(i % 1000)
                .arg(QDateTime::fromMSecsSinceEpoch(start + i * 1000LL, QTimeZone::utc())
                         .toString(Qt::ISODate))
                .toUtf8());
    file.write("</trkseg></trk></gpx>\n");
    file.close();

    const GpxResult result = ReadGpxFile(path);
    QVERIFY2(result.ok, qPrintable(result.error));
    const TrackSegment& points = result.tracks.at(0).segments.at(0);
    QCOMPARE(int(points.size()), count);
    QCOMPARE(points.back().utcMs, start + (count - 1) * 1000LL);
    QCOMPARE(points.back().elevation, double((count - 1) % 1000));
    QVERIFY(qAbs(points.back().latitude - (45 + (count - 1) * 1e-5)) < 1e-9);
}

QTEST_GUILESS_MAIN(TestGpxReader)
#include "test_gpx_reader.moc"
