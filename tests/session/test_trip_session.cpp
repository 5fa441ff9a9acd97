#include "session/AtomicFile.h"
#include "session/TripSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The kept trip: what is written comes back exactly, and anything else is refused whole.
class TestTripSession : public QObject {
    Q_OBJECT

private slots:
    void comesBackExactly() {
        TripSession session;
        SessionPicture waiting;
        waiting.path = "/trip/caf\xe9 \"1\".jpg"; // not UTF-8
        waiting.waiting = true;
        waiting.latitude = -33.856812345678901;
        waiting.longitude = 151.2152967;
        waiting.altitude = 12.5;
        waiting.utcTime = QDateTime(QDate(2024, 6, 15), QTime(9, 30, 1, 250), Qt::UTC);
        waiting.how = "track, between two points";
        SessionPicture plain;
        plain.path = "/trip/plain.jpg";
        session.pictures = {waiting, plain};
        session.tracks = {"/trip/day 1.gpx"};
        session.zoneId = "Australia/Sydney";
        session.correctionMs = -125000;
        session.largestGapMs = 90000;

        QTemporaryDir dir;
        const QString path = dir.filePath("kept/session.json");
        QString problem;
        QVERIFY2(WriteFileAtomically(path, SessionToJson(session), &problem), qPrintable(problem));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto back = SessionFromJson(file.readAll(), &problem);
        QVERIFY2(back, qPrintable(problem));
        QCOMPARE(back->pictures.size(), 2);
        const SessionPicture& p = back->pictures[0];
        QCOMPARE(p.path, waiting.path);
        QVERIFY(p.waiting);
        QCOMPARE(p.latitude, waiting.latitude);
        QCOMPARE(p.longitude, waiting.longitude);
        QCOMPARE(p.altitude, waiting.altitude);
        QCOMPARE(p.utcTime, waiting.utcTime);
        QCOMPARE(p.how, waiting.how);
        QVERIFY(!back->pictures[1].waiting);
        QCOMPARE(back->tracks, session.tracks);
        QCOMPARE(back->zoneId, session.zoneId);
        QCOMPARE(back->correctionMs, session.correctionMs);
        QCOMPARE(back->largestGapMs, session.largestGapMs);
        QCOMPARE(back->WaitingCount(), 1);
        // Nothing is left beside it.
        QCOMPARE(QDir(dir.filePath("kept")).entryList(QDir::Files), QStringList{"session.json"});
    }

    void refusesWhatIsNotWhole_data() {
        QTest::addColumn<QByteArray>("json");
        const QByteArray head = R"({"format":"kartavo-trip","version":1,"tracks":[],)"
                                R"("zone":"","correctionMs":0,"largestGapMs":60000,)";
        QTest::newRow("not JSON") << QByteArray("{\"format\":\"kartavo-trip\",");
        QTest::newRow("someone else's") << QByteArray(R"({"pictures":[],"tracks":[]})");
        QTest::newRow("a later version")
            << QByteArray(head).replace("\"version\":1", "\"version\":2") + R"("pictures":[]})";
        QTest::newRow("a position beyond the pole")
            << head + R"("pictures":[{"path":"L2EuanBn","new":{"lat":95,"lon":1}}]})";
        QTest::newRow("a name that is not one")
            << head + R"("pictures":[{"path":"!!!","new":{"lat":5,"lon":1}}]})";
        QTest::newRow("a picture that is not an object") << head + R"("pictures":[7]})";
        QTest::newRow("no gap") << QByteArray(head).replace("60000", "0") + R"("pictures":[]})";
    }

    void refusesWhatIsNotWhole() {
        QFETCH(QByteArray, json);
        QString problem;
        QVERIFY(!SessionFromJson(json, &problem));
        QVERIFY(!problem.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestTripSession)
#include "test_trip_session.moc"
