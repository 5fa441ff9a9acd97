#include "places/CoordinateReader.h"

#include <QtTest>

// One case per form people paste, and the ones that must be refused.
class TestCoordinateReader : public QObject {
    Q_OBJECT

private slots:
    void reads_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<int>("zoom"); // 0: none

        const double dmsLat = 48 + 51 / 60.0 + 30.2 / 3600;
        const double dmsLon = 2 + 17 / 60.0 + 40.2 / 3600;
        // Forms
        QTest::newRow("decimal, comma") << "48.8584, 2.2945" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("decimal, blank") << "48.8584 2.2945" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("decimal, tight comma") << "48.8584,2.2945" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("dms with marks")
            << "48°51'30.2\"N 2°17'40.2\"E" << true << dmsLat << dmsLon << 0;
        QTest::newRow("dms, typographic primes")
            << "48°51′30.2″N, 2°17′40.2″E" << true << dmsLat << dmsLon << 0;
        QTest::newRow("degrees decimal minutes, letters first")
            << "N 48° 51.503' E 2° 17.670'" << true << 48 + 51.503 / 60 << 2 + 17.670 / 60 << 0;
        QTest::newRow("dms without marks")
            << "48 51 30.24 N, 2 17 40.2 E" << true << 48 + 51 / 60.0 + 30.24 / 3600 << dmsLon << 0;
        QTest::newRow("geo address") << "geo:48.8584,2.2945" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("geo address, altitude and query")
            << "geo:-33.8568,151.2153,30;u=35" << true << -33.8568 << 151.2153 << 0;
        QTest::newRow("osm #map") << "https://www.openstreetmap.org/#map=17/48.85837/2.29448"
                                  << true << 48.85837 << 2.29448 << 17;
        QTest::newRow("osm mlat/mlon")
            << "https://www.openstreetmap.org/?mlat=48.8584&mlon=2.2945#map=15/48.8584/2.2945"
            << true << 48.8584 << 2.2945 << 15;
        QTest::newRow("@lat,lon,zoom") << "https://www.google.com/maps/@48.8583701,2.2944813,17z"
                                       << true << 48.8583701 << 2.2944813 << 17;
        QTest::newRow("search link ?q=")
            << "https://maps.google.com/?q=48.8584%2C2.2945" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("in parentheses") << "(48.8584, 2.2945)" << true << 48.8584 << 2.2945 << 0;
        // Hemispheres and signs
        QTest::newRow("south west letters")
            << "33.8568 S, 70.6483 W" << true << -33.8568 << -70.6483 << 0;
        QTest::newRow("signs") << "-33.8568, -70.6483" << true << -33.8568 << -70.6483 << 0;
        QTest::newRow("longitude named first")
            << "E 2.2945 N 48.8584" << true << 48.8584 << 2.2945 << 0;
        QTest::newRow("sign and letter") << "-33.8568 S, 70.6483 W" << false << 0.0 << 0.0 << 0;
        QTest::newRow("two latitudes") << "48.8 N, 2.2 S" << false << 0.0 << 0.0 << 0;
        // Out of range
        QTest::newRow("latitude past 90") << "90.5, 2.2945" << false << 0.0 << 0.0 << 0;
        QTest::newRow("longitude past 180") << "48.8584, 180.1" << false << 0.0 << 0.0 << 0;
        QTest::newRow("60 minutes") << "48°60'N 2°17'E" << false << 0.0 << 0.0 << 0;
        QTest::newRow("link past 90") << "geo:91,2" << false << 0.0 << 0.0 << 0;
        // Comma decimals are refused: "37,5" may mean 37.5, not 37 and 5.
        QTest::newRow("comma decimals") << "48,8584 2,2945" << false << 0.0 << 0.0 << 0;
        QTest::newRow("one comma decimal") << "37,5" << false << 0.0 << 0.0 << 0;
        // Garbage and single numbers
        QTest::newRow("one number") << "48.8584" << false << 0.0 << 0.0 << 0;
        QTest::newRow("trailing text") << "48.8584, 2.2945 junk" << false << 0.0 << 0.0 << 0;
        QTest::newRow("exponent") << "1e5" << false << 0.0 << 0.0 << 0;
        QTest::newRow("sign glued between digits") << "3-7" << false << 0.0 << 0.0 << 0;
        QTest::newRow("three numbers") << "1 2 3" << false << 0.0 << 0.0 << 0;
        QTest::newRow("words") << "Eiffel Tower" << false << 0.0 << 0.0 << 0;
        QTest::newRow("empty") << "" << false << 0.0 << 0.0 << 0;
    }

    void reads() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(int, zoom);
        const std::optional<ReadPosition> read = ReadCoordinates(text);
        QCOMPARE(read.has_value(), ok);
        if (!ok)
            return;
        QVERIFY2(qAbs(read->latitude - latitude) < 1e-9,
                 qPrintable(QString::number(read->latitude, 'g', 12)));
        QVERIFY2(qAbs(read->longitude - longitude) < 1e-9,
                 qPrintable(QString::number(read->longitude, 'g', 12)));
        QCOMPARE(read->zoom.value_or(0), zoom);
    }

    void fieldText_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << 48.8584 << "48.8584";
        QTest::newRow("eight decimals") << 48.858388888888 << "48.85838889";
        QTest::newRow("whole") << -70.0 << "-70";
        QTest::newRow("tiny negative") << -0.000000001 << "0";
    }

    void fieldText() {
        QFETCH(double, degrees);
        QFETCH(QString, text);
        QCOMPARE(DecimalDegreesText(degrees), text);
    }
};

QTEST_APPLESS_MAIN(TestCoordinateReader)
#include "test_coordinate_reader.moc"
