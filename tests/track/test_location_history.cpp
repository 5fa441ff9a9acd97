#include "track/LocationHistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Location history exports in each form, written here from their structure.
class TestLocationHistory : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void cancel();

private:
    QString Write(const QByteArray& bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

qint64 Ms(const char* iso) {
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

struct Want {
    double lat;
    double lon;
    const char* time;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Want>)

QString TestLocationHistory::Write(const QByteArray& bytes) {
    const QString path = m_dir.filePath(QStringLiteral("history%1.json").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestLocationHistory::read_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error"); // part of the message when nothing may load
    QTest::addColumn<std::vector<Want>>("points");
    QTest::addColumn<QList<int>>("counts"); // outside, inaccurate, bad

    // The range kept is 2024-07-01T00:00Z to 2024-07-08T00:00Z; accuracy up to 200 m.
    QTest::newRow("account export, both time forms, filters")
        << QByteArray(R"({"locations": [
 {"latitudeE7": 473700000, "longitudeE7": 85400000, "accuracy": 12, "altitude": 410,
  "source": "WIFI", "activity": [{"type": "STILL", "confidence": 90}],
  "timestamp": "2024-07-01T09:00:00.500Z"},
 {"latitudeE7": -338600000, "longitudeE7": 1512100000, "accuracy": 200,
  "timestampMs": "1719792000000"},
 {"latitudeE7": 473800000, "longitudeE7": 85500000, "accuracy": 201,
  "timestamp": "2024-07-01T09:02:00Z"},
 {"latitudeE7": 473900000, "longitudeE7": 85600000, "timestamp": "2024-06-29T23:59:59Z"},
 {"latitudeE7": 473900000, "longitudeE7": 85600000, "timestamp": "2024-07-08T00:00:00.001Z"}
]})") << QString()
        << std::vector<Want>{{-33.86, 151.21, "2024-07-01T00:00:00Z"},
                             {47.37, 8.54, "2024-07-01T09:00:00.500Z"}}
        << QList<int>{2, 1, 0};
    QTest::newRow("garbage values left out with a count") << QByteArray(R"({"locations": [
 {"latitudeE7": 900000001, "longitudeE7": 0, "timestamp": "2024-07-01T09:00:00Z"},
 {"latitudeE7": 0, "longitudeE7": -1800000001, "timestamp": "2024-07-01T09:00:00Z"},
 {"latitudeE7": NaN, "longitudeE7": 1, "timestamp": "2024-07-01T09:00:00Z"},
 {"latitudeE7": "x", "longitudeE7": 1, "timestamp": "2024-07-01T09:00:00Z"},
 {"latitudeE7": 1, "longitudeE7": 1, "timestamp": "0000-01-01T00:00:00Z"},
 {"latitudeE7": 1, "longitudeE7": 1, "timestamp": "9999-12-31T00:00:00Z"},
 {"latitudeE7": 1, "longitudeE7": 1, "accuracy": NaN, "timestamp": "2024-07-01T09:00:00Z"},
 {"latitudeE7": 1, "longitudeE7": 1},
 {"latitudeE7": 10000000, "longitudeE7": 20000000, "timestampMs": 1719824400000}
]})") << QString() << std::vector<Want>{{1, 2, "2024-07-01T09:00:00Z"}}
                                                          << QList<int>{0, 0, 8};
    QTest::newRow("phone's Timeline: path points and raw signals, zones, duplicates")
        << QByteArray(R"({"semanticSegments": [
  {"startTime": "2024-07-01T11:00:00.000+02:00", "endTime": "2024-07-01T12:00:00.000+02:00",
   "timelinePath": [{"point": "47.3700000°, 8.5400000°", "time": "2024-07-01T11:05:00.000+02:00"},
                    {"point": "47.3710000°, 8.5410000°", "time": "2024-07-01T11:10:00.000+02:00"}]},
  {"startTime": "2024-07-01T12:00:00.000+02:00", "endTime": "2024-07-01T13:00:00.000+02:00",
   "visit": {"hierarchyLevel": 0, "topCandidate": {"placeId": "x",
             "placeLocation": {"latLng": "1.0°, 2.0°"}}}}],
 "rawSignals": [
  {"position": {"LatLng": "47.3720000°, 8.5420000°", "accuracyMeters": 9,
                "altitudeMeters": 412.5, "source": "GPS",
                "timestamp": "2024-07-01T11:07:00.000+02:00"}},
  {"wifiScan": {"deliveryTime": "2024-07-01T11:08:00.000+02:00", "devicesRecords": []}},
  {"position": {"LatLng": "47.3730000°, 8.5430000°", "accuracyMeters": 9,
                "timestamp": "2024-07-01T11:10:00.000+02:00"}},
  {"position": {"LatLng": "95.0°, 8.5°", "timestamp": "2024-07-01T11:11:00.000+02:00"}}],
 "userLocationProfile": {"frequentPlaces": []}})")
        << QString()
        << std::vector<Want>{{47.37, 8.54, "2024-07-01T09:05:00Z"},
                             {47.372, 8.542, "2024-07-01T09:07:00Z"},
                             {47.371, 8.541, "2024-07-01T09:10:00Z"}}
        << QList<int>{0, 0, 1};
    QTest::newRow("geo: points with minutes from the segment's start, start after them")
        << QByteArray(R"([
 {"endTime": "2024-07-02T10:30:00.000-04:00",
  "timelinePath": [{"point": "geo:40.712800,-74.006000", "durationMinutesOffsetFromStartTime": "0"},
                   {"point": "geo:40.713800,-74.007000", "durationMinutesOffsetFromStartTime": "25"}],
  "startTime": "2024-07-02T10:00:00.000-04:00"},
 {"startTime": "2024-07-02T10:30:00.000-04:00", "endTime": "2024-07-02T11:00:00.000-04:00",
  "visit": {"topCandidate": {"placeLocation": "geo:40.7,-74.0"}}}
])") << QString()
        << std::vector<Want>{{40.7128, -74.006, "2024-07-02T14:00:00Z"},
                             {40.7138, -74.007, "2024-07-02T14:25:00Z"}}
        << QList<int>{0, 0, 0};

    QTest::newRow("cut short") << QByteArray(R"({"locations": [{"latitudeE7": 473700000,
 "longitudeE7": 85400000, "timestamp": "2024-07-01T09:00:00Z"}, {"latitudeE7": 4737)")
                               << "ends too early" << std::vector<Want>{} << QList<int>{};
    QTest::newRow("broken") << QByteArray(R"({"locations": [{"latitudeE7" 1}]})")
                            << "not a readable JSON file" << std::vector<Want>{} << QList<int>{};
    QTest::newRow("JSON, but no history")
        << QByteArray(R"({"type": "FeatureCollection", "features": [{"locations": 3}]})")
        << "is not a location history" << std::vector<Want>{} << QList<int>{};
    QTest::newRow("something after the end")
        << QByteArray(R"({"locations": []} {"locations": []})") << "goes on after its end"
        << std::vector<Want>{} << QList<int>{};
}

void TestLocationHistory::read() {
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QFETCH(std::vector<Want>, points);
    QFETCH(QList<int>, counts);
    LocationHistoryOptions options;
    options.fromMs = Ms("2024-07-01T00:00:00Z");
    options.toMs = Ms("2024-07-08T00:00:00Z");
    const LocationHistoryResult result = ReadLocationHistory(Write(json), options);
    if (!error.isEmpty()) {
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(result.track.segments.empty());
        return;
    }
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(QList<int>({result.outside, result.inaccurate, result.bad}), counts);
    QCOMPARE(result.kept, int(points.size()));
    QCOMPARE(result.track.segments.size(), std::size_t(1));
    const TrackSegment& got = result.track.segments[0];
    QCOMPARE(got.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        QCOMPARE(got[i].utcMs, Ms(points[i].time));
        QVERIFY(std::abs(got[i].latitude - points[i].lat) < 1e-9);
        QVERIFY(std::abs(got[i].longitude - points[i].lon) < 1e-9);
    }
}

void TestLocationHistory::cancel() {
    QByteArray json = "{\"locations\": [";
    for (int i = 0; i < 200000; ++i)
        json += "{\"latitudeE7\": 473700000, \"longitudeE7\": 85400000, \"timestampMs\": \"" +
                QByteArray::number(1719824400000LL + i * 1000LL) + "\"},";
    json += "{}]}";
    const QString path = Write(json);
    std::atomic<bool> cancel{false};
    LocationHistoryOptions options;
    options.cancel = &cancel;
    qint64 lastDone = -1, total = -1;
    int reports = 0;
    options.progress = [&](qint64 done, qint64 all) {
        lastDone = done;
        total = all;
        if (++reports == 2)
            cancel = true;
    };
    const LocationHistoryResult result = ReadLocationHistory(path, options);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QLatin1String("cancelled")), qPrintable(result.error));
    QCOMPARE(total, QFileInfo(path).size());
    QVERIFY(lastDone > 0 && lastDone < total);
}

QTEST_GUILESS_MAIN(TestLocationHistory)
#include "test_location_history.moc"
