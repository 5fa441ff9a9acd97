#include "places/CitySearch.h"

#include <QtTest>

// The offline list of cities: what a query finds first.
class TestCitySearch : public QObject {
    Q_OBJECT

private slots:
    void findsFirst_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("country");
        QTest::newRow("exact") << "Paris"
                               << "Paris"
                               << "France";
        QTest::newRow("any case") << "tOKYO"
                                  << "Tokyo"
                                  << "Japan";
        QTest::newRow("prefix") << "san fra"
                                << "San Francisco"
                                << "United States";
        QTest::newRow("accent in the list, not the query") << "sao paulo"
                                                           << "São Paulo"
                                                           << "Brazil";
        QTest::newRow("accent in the query, not the list") << "Zürich"
                                                           << "Zurich"
                                                           << "Switzerland";
        QTest::newRow("accents on both") << "São Paulo"
                                         << "São Paulo"
                                         << "Brazil";
        QTest::newRow("with its country") << "Paris, United States"
                                          << "Paris"
                                          << "United States";
        QTest::newRow("with a country code") << "London, CA"
                                             << "London"
                                             << "Canada";
    }

    void findsFirst() {
        QFETCH(QString, query);
        QFETCH(QString, first);
        QFETCH(QString, country);
        const std::vector<PlaceResult> found = SearchCities(query);
        QVERIFY(!found.empty());
        QCOMPARE(found.front().name, first);
        QVERIFY2(found.front().detail.contains(country), qPrintable(found.front().detail));
    }

    void largerPlacesFirstAmongPrefixes() {
        // The list's own order puts smaller places among the larger ones here.
        const std::vector<PlaceResult> found = SearchCities(QStringLiteral("par"), 30);
        QCOMPARE(found.size(), std::size_t(30));
        QCOMPARE(found.front().name, QStringLiteral("Paris"));
        for (std::size_t i = 1; i < found.size(); ++i)
            QVERIFY2(found[i - 1].population >= found[i].population, qPrintable(found[i].name));
    }

    void wholeNameBeforeLargerPrefixes() {
        const std::vector<PlaceResult> found = SearchCities(QStringLiteral("spring"));
        QVERIFY(found.size() > 2);
        QCOMPARE(found[0].name, QStringLiteral("Spring"));
        QCOMPARE(found[1].name, QStringLiteral("Spring Valley"));
        QVERIFY(found[1].population > found[0].population);
    }

    void nothingForGarbageOrEmpty() {
        QVERIFY(SearchCities(QStringLiteral("xqzzyv")).empty());
        QVERIFY(SearchCities(QString()).empty());
        QVERIFY(SearchCities(QStringLiteral("   ")).empty());
    }
};

QTEST_APPLESS_MAIN(TestCitySearch)
#include "test_city_search.moc"
