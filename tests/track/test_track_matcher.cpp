#include "track/PictureTime.h"
#include "track/TrackMatcher.h"

#include <QtTest>

#include <cmath>

class TestTrackMatcher : public QObject {
    Q_OBJECT
private slots:
    void match_data();
    void match();
    void clockFromPicture_data();
    void clockFromPicture();
};

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

TrackPoint P(qint64 seconds, double lat, double lon, double ele = kNone) {
    TrackPoint p;
    p.utcMs = seconds * 1000;
    p.latitude = lat;
    p.longitude = lon;
    p.elevation = ele;
    return p;
}

// Segments: A 0..100 s with a 90 s hole, B 130..140 s, C with two points at one time,
// D across the date line, E two points exactly the largest gap apart, F written out of
// time order, and an untimed point that only draws.
Track MakeTrack() {
    Track track;
    track.segments = {
        {P(0, 10, 20, 100), P(10, 10.1, 20.1, 200), P(100, 10.2, 20.2)},
        {P(130, 11, 21, 0), P(140, 11.1, 21.1, 10)},
        {P(1000, 20, 30), P(1000, 20.5, 30.5), P(1010, 21, 31)},
        {P(2000, 0, 179.9), P(2010, 0, -179.9)},
        {P(5000, 30, 40), P(5060, 30.6, 40.6)},
        {P(6020, 40.2, 50.2), P(6000, 40, 50), P(6010, 40.1, 50.1)},
    };
    TrackPoint untimed;
    untimed.latitude = 50;
    track.segments[1].insert(track.segments[1].begin() + 1, untimed);
    return track;
}

} // namespace

void TestTrackMatcher::match_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("ele"); // NaN: none
    QTest::addColumn<double>("offSeconds");

    const int in = int(MatchKind::Interpolated);
    const int near = int(MatchKind::NearestPoint);
    const int none = int(MatchKind::NoMatch);
    QTest::newRow("interpolated") << 5.0 << in << 10.05 << 20.05 << 150.0 << 0.0;
    QTest::newRow("interpolated, sub-second") << 2.5 << in << 10.025 << 20.025 << 125.0 << 0.0;
    QTest::newRow("at a point") << 10.0 << in << 10.1 << 20.1 << 200.0 << 0.0;
    QTest::newRow("hole wider than the gap: nearest before")
        << 40.0 << near << 10.1 << 20.1 << 200.0 << 30.0;
    QTest::newRow("hole: nearest after, no elevation")
        << 60.0 << near << 10.2 << 20.2 << kNone << 40.0;
    QTest::newRow("between segments: never across")
        << 115.0 << near << 10.2 << 20.2 << kNone << 15.0;
    QTest::newRow("between segments, nearer the next")
        << 125.0 << near << 11.0 << 21.0 << 0.0 << 5.0;
    QTest::newRow("untimed point is skipped") << 135.0 << in << 11.05 << 21.05 << 5.0 << 0.0;
    QTest::newRow("before the track, within the gap")
        << -30.0 << near << 10.0 << 20.0 << 100.0 << 30.0;
    QTest::newRow("before the track, exactly the gap")
        << -60.0 << near << 10.0 << 20.0 << 100.0 << 60.0;
    QTest::newRow("points exactly the gap apart") << 5030.0 << in << 30.3 << 40.3 << kNone << 0.0;
    QTest::newRow("points out of time order") << 6015.0 << in << 40.15 << 50.15 << kNone << 0.0;
    QTest::newRow("before the track, beyond the gap")
        << -100.0 << none << 0.0 << 0.0 << kNone << 100.0;
    QTest::newRow("after the track") << 3000.0 << none << 0.0 << 0.0 << kNone << 990.0;
    QTest::newRow("in a hole, beyond the gap") << 1500.0 << none << 0.0 << 0.0 << kNone << 490.0;
    QTest::newRow("two points at one time: the first")
        << 1000.0 << in << 20.0 << 30.0 << kNone << 0.0;
    QTest::newRow("after two points at one time") << 1005.0 << in << 20.75 << 30.75 << kNone << 0.0;
    QTest::newRow("date line, east side") << 2002.5 << in << 0.0 << 179.95 << kNone << 0.0;
    QTest::newRow("date line, west side") << 2007.5 << in << 0.0 << -179.95 << kNone << 0.0;
}

void TestTrackMatcher::match() {
    QFETCH(double, seconds);
    QFETCH(int, kind);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(double, ele);
    QFETCH(double, offSeconds);

    const Track track = MakeTrack();
    const TrackMatcher matcher({&track});
    const MatchResult r = matcher.Match(std::llround(seconds * 1000), 60000);
    QCOMPARE(int(r.kind), kind);
    QCOMPARE(r.nearestOffMs, std::llround(offSeconds * 1000));
    if (r.kind == MatchKind::NoMatch)
        return;
    QVERIFY2(std::abs(r.latitude - lat) < 1e-9, qPrintable(QString::number(r.latitude, 'f', 9)));
    QVERIFY2(std::abs(r.longitude - lon) < 1e-9, qPrintable(QString::number(r.longitude, 'f', 9)));
    QCOMPARE(r.elevation.has_value(), !std::isnan(ele));
    if (r.elevation)
        QVERIFY(std::abs(*r.elevation - ele) < 1e-9);
}

void TestTrackMatcher::clockFromPicture_data() {
    QTest::addColumn<double>("placeLat");
    QTest::addColumn<double>("placeLon");
    QTest::addColumn<QString>("dateTime");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("passUtc");
    QTest::addColumn<qint64>("correctionSeconds");

    // The track goes north from 08:00:00Z at (10, 20) to 08:00:10Z at (10.1, 20), then on.
    QTest::newRow("on a line, Berlin summer time, camera 9m55s slow")
        << 10.05 << 20.001 << "2024:05:01 09:50:10" << QString() << QByteArray("Europe/Berlin")
        << "2024-05-01T08:00:05Z" << qint64(9 * 60 + 55);
    QTest::newRow("at a point, picture's own offset wins")
        << 10.1 << 20.0 << "2024:05:01 03:00:30"
        << "-05:00" << QByteArray("Europe/Berlin") << "2024-05-01T08:00:10Z" << qint64(-20);
    QTest::newRow("past the track: its nearest point")
        << 10.5 << 20.0 << "2024:05:01 08:01:00" << QString() << QByteArray("UTC")
        << "2024-05-01T08:00:20Z" << qint64(-40);
    QTest::newRow("a gap wider than the largest: only points")
        << 10.16 << 20.15 << "2024:05:01 08:00:00" << QString() << QByteArray("UTC")
        << "2024-05-01T08:03:20Z" << qint64(200);
}

void TestTrackMatcher::clockFromPicture() {
    QFETCH(double, placeLat);
    QFETCH(double, placeLon);
    QFETCH(QString, dateTime);
    QFETCH(QString, offset);
    QFETCH(QByteArray, zone);
    QFETCH(QString, passUtc);
    QFETCH(qint64, correctionSeconds);

    const qint64 start =
        QDateTime::fromString("2024-05-01T08:00:00Z", Qt::ISODate).toMSecsSinceEpoch() / 1000;
    Track track;
    track.segments = {{P(start, 10, 20, 5), P(start + 10, 10.1, 20, 15)},
                      {P(start + 20, 10.2, 20.0), P(start + 200, 10.2, 20.2)}};
    const TrackMatcher matcher({&track});
    const auto pass = matcher.ClosestPass(placeLat, placeLon, 60000);
    QVERIFY(pass);
    QCOMPARE(QDateTime::fromMSecsSinceEpoch(pass->utcMs, QTimeZone::utc()),
             QDateTime::fromString(passUtc, Qt::ISODate));

    const CameraTime time{dateTime, offset};
    const QTimeZone tz(zone);
    const auto correction = CorrectionForMoment(time, tz, pass->utcMs);
    QVERIFY(correction);
    QCOMPARE(*correction / 1000, correctionSeconds);
    // With that correction this picture lands where the user put the map.
    const auto utc = PictureUtcMs(time, tz, *correction);
    QVERIFY(utc);
    QCOMPARE(*utc, pass->utcMs);
    const MatchResult r = matcher.Match(*utc, 60000);
    QCOMPARE(int(r.kind), int(MatchKind::Interpolated));
    QVERIFY(std::abs(r.latitude - pass->latitude) < 1e-9);
}

QTEST_GUILESS_MAIN(TestTrackMatcher)
#include "test_track_matcher.moc"
