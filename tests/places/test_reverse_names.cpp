#include "places/NominatimReverse.h"
#include "tests/places/LocalHttpServer.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QByteArray kCologne = R"({"place_id":1,"address":{"city":"Köln","state":"Nordrhein-Westfalen",
    "country":"Deutschland","country_code":"de"}})";
const QByteArray kVillage = R"({"address":{"village":"Hallstatt","state":"Oberösterreich",
    "country":"Österreich","country_code":"at"}})";

} // namespace

class ReverseNamesTest : public QObject {
    Q_OBJECT

private slots:
    // Two positions 50 m apart are asked once; the requests keep a second apart; the
    // service's "no place here" is an empty name, not a failure.
    void namesCachedAndPaced() {
        LocalHttpServer server([](const QByteArray& target) {
            const QByteArray body = target.contains("lat=50.9") ? kCologne
                                    : target.contains("lat=47.5")
                                        ? kVillage
                                        : R"({"error":"Unable to geocode"})";
            return LocalHttpServer::Reply{200, "application/json", body, {}};
        });
        QVERIFY(server.Listen());
        NominatimReverse reverse;
        reverse.SetBaseUrl(QUrl(QString::fromLatin1(server.Base())));
        QSignalSpy named(&reverse, &NominatimReverse::named);
        QSignalSpy finished(&reverse, &NominatimReverse::finished);
        reverse.Look(
            {{1, 50.9375, 6.9603}, {2, 50.93795, 6.9603}, {3, 47.5622, 13.6493}, {4, 40.0, -30.0}});
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(named.size(), 4);
        QCOMPARE(server.requests.size(), 3);
        for (int i = 1; i < server.requests.size(); ++i)
            QVERIFY(server.requests[i].atMs - server.requests[i - 1].atMs >= 1000);
        QVERIFY(server.requests[0].headers.contains("User-Agent: Kartavo/"));
        const auto name = [&](int i) { return named[i][1].value<PlaceName>(); };
        QCOMPARE(name(0).city, QStringLiteral("Köln"));
        QCOMPARE(name(0).countryCode, QStringLiteral("DE"));
        QCOMPARE(name(1), name(0));
        QCOMPARE(name(2).city, QStringLiteral("Hallstatt"));
        QCOMPARE(name(2).country, QStringLiteral("Österreich"));
        QVERIFY(name(3).city.isEmpty() && name(3).country.isEmpty());
    }

    // An answer past the size cap is cut off and said so; the asks after it are dropped.
    void answerWithoutEndIsCut() {
        LocalHttpServer server([](const QByteArray&) {
            return LocalHttpServer::Reply{200, "application/json", QByteArray(64 * 1024, ' '), {}};
        });
        QVERIFY(server.Listen());
        NominatimReverse reverse;
        reverse.SetBaseUrl(QUrl(QString::fromLatin1(server.Base())));
        reverse.SetLimits({16 * 1024, 10000});
        QSignalSpy failed(&reverse, &NominatimReverse::failed);
        QSignalSpy finished(&reverse, &NominatimReverse::finished);
        reverse.Look({{7, 10, 10}, {8, 20, 20}});
        QVERIFY(finished.wait(20000));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().toInt(), 7);
        QVERIFY2(failed.first().at(1).toString().contains("larger"),
                 qPrintable(failed.first().at(1).toString()));
        QCOMPARE(server.requests.size(), 1);
    }
};

QTEST_GUILESS_MAIN(ReverseNamesTest)
#include "test_reverse_names.moc"
