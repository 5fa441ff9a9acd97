#include "places/PlaceNames.h"
#include "track/TrackZone.h"

#include <QRandomGenerator>
#include <QtTest>

// Place names from the offline city list.
class TestPlaceNames : public QObject {
    Q_OBJECT
private slots:
    void offline_data();
    void offline();
    void nearestOfAll();
};

void TestPlaceNames::offline_data() {
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<bool>("named"); // false: nothing at all
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("code");

    QTest::newRow("city centre") << 48.1374 << 11.5755 << true << "Munich"
                                 << "Bavaria"
                                 << "Germany"
                                 << "DE";
    QTest::newRow("south of the equator, west of Greenwich")
        << -34.6037 << -58.3816 << true << "Buenos Aires"
        << "Buenos Aires F.D."
        << "Argentina"
        << "AR";
    QTest::newRow("at sea") << 30.0 << -40.0 << false << ""
                            << ""
                            << ""
                            << "";
    // 40 km south of Alice Springs, in the desert.
    QTest::newRow("40 km from any city: no city, but the country") << -24.06 << 133.88 << true << ""
                                                                   << "Northern Territory"
                                                                   << "Australia"
                                                                   << "AU";
}

void TestPlaceNames::offline() {
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(bool, named);
    const auto name = NearestPlaceName(latitude, longitude);
    QCOMPARE(name.has_value(), named);
    if (!named)
        return;
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, code);
    QCOMPARE(name->city, city);
    QCOMPARE(name->state, state);
    QCOMPARE(name->country, country);
    QCOMPARE(name->countryCode, code);
    QCOMPARE(name->distanceMetres < 0, city.isEmpty());
}

// The quick search finds the city that walking the whole list finds.
void TestPlaceNames::nearestOfAll() {
    QRandomGenerator random(26);
    for (int i = 0; i < 300; ++i) {
        const double lat = random.bounded(170.0) - 85;
        const double lon = random.bounded(360.0) - 180;
        const auto all = NearestCityZone(lat, lon);
        QVERIFY(all.has_value());
        const auto quick = NearestPlaceName(lat, lon, 1e8);
        QVERIFY(quick.has_value());
        QVERIFY2(std::abs(quick->distanceMetres - all->distanceMetres) < 1e-6,
                 qPrintable(QStringLiteral("%1, %2: %3 against %4")
                                .arg(lat)
                                .arg(lon)
                                .arg(quick->city)
                                .arg(all->city)));
    }
}

QTEST_GUILESS_MAIN(TestPlaceNames)
#include "test_place_names.moc"
