#include "track/IsoTime.h"
#include "track/PictureTime.h"
#include "track/TimeText.h"
#include "track/TrackZone.h"

#include <QtTest>

class TestTrackTime : public QObject {
    Q_OBJECT
private slots:
    void isoTime_data();
    void isoTime();
    void pictureUtc_data();
    void pictureUtc();
    void correctionText_data();
    void correctionText();
    void timeSpan_data();
    void timeSpan();
    void cityZone_data();
    void cityZone();
};

void TestTrackTime::isoTime_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("utc"); // empty: not a time

    QTest::newRow("Z") << "2024-05-01T10:00:00Z"
                       << "2024-05-01T10:00:00.000Z";
    QTest::newRow("east offset") << "2024-05-01T10:00:00+02:00"
                                 << "2024-05-01T08:00:00.000Z";
    QTest::newRow("west offset without colon") << "2024-05-01T22:00:00-0330"
                                               << "2024-05-02T01:30:00.000Z";
    QTest::newRow("hours-only offset") << "2024-05-01T10:00:00+02"
                                       << "2024-05-01T08:00:00.000Z";
    QTest::newRow("no zone is UTC") << "2024-05-01T10:00:00"
                                    << "2024-05-01T10:00:00.000Z";
    QTest::newRow("no seconds") << "2024-05-01T10:00Z"
                                << "2024-05-01T10:00:00.000Z";
    QTest::newRow("fraction rounds") << " 2024-12-31T23:59:59.9996Z "
                                     << "2025-01-01T00:00:00.000Z";
    QTest::newRow("fraction") << "2024-05-01T10:00:00.12Z"
                              << "2024-05-01T10:00:00.120Z";
    QTest::newRow("29 February") << "2024-02-29T00:00:00Z"
                                 << "2024-02-29T00:00:00.000Z";
    QTest::newRow("30 February") << "2024-02-30T00:00:00Z" << QString();
    QTest::newRow("date only") << "2024-05-01" << QString();
    QTest::newRow("trailing text") << "2024-05-01T10:00:00Zjunk" << QString();
    QTest::newRow("empty fraction") << "2024-05-01T10:00:00.Z" << QString();
}

void TestTrackTime::isoTime() {
    QFETCH(QString, text);
    QFETCH(QString, utc);
    const auto ms = ParseIsoUtcMs(text);
    QCOMPARE(ms.has_value(), !utc.isEmpty());
    if (ms)
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC).toString(Qt::ISODateWithMs), utc);
}

void TestTrackTime::pictureUtc_data() {
    QTest::addColumn<QString>("dateTime");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("correction");
    QTest::addColumn<QString>("utc"); // empty: no time

    QTest::newRow("east, summer") << "2024:07:01 12:00:00"
                                  << "" << QByteArray("Europe/Berlin") << "+0:00:00"
                                  << "2024-07-01T10:00:00.000Z";
    QTest::newRow("east, winter") << "2024:01:15 12:00:00"
                                  << "" << QByteArray("Europe/Berlin") << "0"
                                  << "2024-01-15T11:00:00.000Z";
    QTest::newRow("trip over the spring change, before") << "2024:03:31 01:30:00"
                                                         << "" << QByteArray("Europe/Berlin") << "0"
                                                         << "2024-03-31T00:30:00.000Z";
    QTest::newRow("trip over the spring change, after") << "2024:03:31 03:30:00"
                                                        << "" << QByteArray("Europe/Berlin") << "0"
                                                        << "2024-03-31T01:30:00.000Z";
    QTest::newRow("west, before the autumn change") << "2024:11:03 00:30:00"
                                                    << "" << QByteArray("America/New_York") << "0"
                                                    << "2024-11-03T04:30:00.000Z";
    QTest::newRow("west, after the autumn change") << "2024:11:03 03:00:00"
                                                   << "" << QByteArray("America/New_York") << "0"
                                                   << "2024-11-03T08:00:00.000Z";
    QTest::newRow("own offset wins over the zone") << "2024:07:01 12:00:00"
                                                   << "+09:00" << QByteArray("Europe/Berlin") << "0"
                                                   << "2024-07-01T03:00:00.000Z";
    QTest::newRow("across midnight UTC with a correction")
        << "2024:06:30 17:30:00"
        << "" << QByteArray("America/Los_Angeles") << "-1:00:00"
        << "2024-06-30T23:30:00.000Z";
    QTest::newRow("correction moves it past midnight UTC")
        << "2024:06:30 16:50:00"
        << "" << QByteArray("America/Los_Angeles") << "+0:20:30"
        << "2024-07-01T00:10:30.000Z";
    QTest::newRow("sub-second") << "2024:07:01 12:00:00.25"
                                << "" << QByteArray("UTC") << "+0:00:01"
                                << "2024-07-01T12:00:01.250Z";
    QTest::newRow("offset written on the time") << "2024:07:01 12:00:00-03:00"
                                                << "" << QByteArray("UTC") << "0"
                                                << "2024-07-01T15:00:00.000Z";
    QTest::newRow("clock never set") << "0000:00:00 00:00:00"
                                     << "" << QByteArray("UTC") << "0" << QString();
    QTest::newRow("no time") << ""
                             << "+02:00" << QByteArray("UTC") << "0" << QString();
}

void TestTrackTime::pictureUtc() {
    QFETCH(QString, dateTime);
    QFETCH(QString, offset);
    QFETCH(QByteArray, zone);
    QFETCH(QString, correction);
    QFETCH(QString, utc);

    const QTimeZone tz(zone);
    QVERIFY(tz.isValid());
    const auto correctionMs = ParseClockCorrection(correction);
    QVERIFY(correctionMs);
    const CameraTime time{dateTime, offset};
    const auto ms = PictureUtcMs(time, tz, *correctionMs);
    QCOMPARE(ms.has_value(), !utc.isEmpty());
    if (!ms)
        return;
    QCOMPARE(QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC).toString(Qt::ISODateWithMs), utc);
    // The correction that gives this moment is the one given (to the second).
    QCOMPARE(CorrectionForMoment(time, tz, *ms), std::optional<qint64>(*correctionMs));
}

void TestTrackTime::correctionText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("valid");

    QTest::newRow("h:m:s") << "+1:02:03" << qint64(3723) << true;
    QTest::newRow("minus seconds") << "-0:00:30" << qint64(-30) << true;
    QTest::newRow("h:m") << "-1:30" << qint64(-5400) << true;
    QTest::newRow("seconds") << " 45 " << qint64(45) << true;
    QTest::newRow("a day and more") << "+26:00:00" << qint64(26 * 3600) << true;
    QTest::newRow("60 minutes") << "1:60:00" << qint64(0) << false;
    QTest::newRow("words") << "ten minutes" << qint64(0) << false;
    QTest::newRow("empty") << "" << qint64(0) << false;
    QTest::newRow("four parts") << "1:2:3:4" << qint64(0) << false;
}

void TestTrackTime::correctionText() {
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QFETCH(bool, valid);
    const auto ms = ParseClockCorrection(text);
    QCOMPARE(ms.has_value(), valid);
    if (!ms)
        return;
    QCOMPARE(*ms, seconds * 1000);
    QCOMPARE(ParseClockCorrection(FormatClockCorrection(*ms)), ms);
}

void TestTrackTime::timeSpan_data() {
    QTest::addColumn<QString>("first"); // UTC
    QTest::addColumn<QString>("last");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("text");

    QTest::newRow("UTC, one day") << "2024-07-01T09:00:00Z"
                                  << "2024-07-01T09:10:00Z" << QByteArray("UTC")
                                  << "2024-07-01 09:00:00 – 09:10:00 UTC";
    QTest::newRow("east, summer") << "2024-07-01T09:00:00Z"
                                  << "2024-07-01T09:10:00Z" << QByteArray("Europe/Zurich")
                                  << "2024-07-01 11:00:00 – 11:10:00 CEST";
    QTest::newRow("two UTC days, one day there")
        << "2024-07-01T16:00:00Z"
        << "2024-07-02T01:00:00Z" << QByteArray("Asia/Tokyo")
        << "2024-07-02 01:00:00 – 10:00:00 JST";
    QTest::newRow("west, across local midnight")
        << "2024-01-15T04:00:00Z"
        << "2024-01-15T06:00:00Z" << QByteArray("America/New_York")
        << "2024-01-14 23:00:00 – 2024-01-15 01:00:00 EST";
    QTest::newRow("over the autumn change") << "2024-10-26T23:30:00Z"
                                            << "2024-10-27T02:00:00Z" << QByteArray("Europe/Berlin")
                                            << "2024-10-27 01:30:00 CEST – 03:00:00 CET";
}

void TestTrackTime::timeSpan() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QByteArray, zone);
    QFETCH(QString, text);
    QCOMPARE(FormatTimeSpan(QDateTime::fromString(first, Qt::ISODate).toMSecsSinceEpoch(),
                            QDateTime::fromString(last, Qt::ISODate).toMSecsSinceEpoch(),
                            QTimeZone(zone)),
             text);
}

void TestTrackTime::cityZone_data() {
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QByteArray>("zone");

    QTest::newRow("Berlin") << 52.52 << 13.40 << QByteArray("Europe/Berlin");
    QTest::newRow("a field in Indiana")
        << 39.77 << -86.16 << QByteArray("America/Indiana/Indianapolis");
    QTest::newRow("Sydney") << -33.87 << 151.21 << QByteArray("Australia/Sydney");
    QTest::newRow("Kathmandu") << 27.70 << 85.32 << QByteArray("Asia/Kathmandu");
}

void TestTrackTime::cityZone() {
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QByteArray, zone);
    const auto city = NearestCityZone(lat, lon);
    QVERIFY(city);
    QCOMPARE(city->zoneId, zone);
    QVERIFY(city->distanceMetres < 50000);
    QVERIFY(QTimeZone(city->zoneId).isValid());
}

QTEST_GUILESS_MAIN(TestTrackTime)
#include "test_track_time.moc"
