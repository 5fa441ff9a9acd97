#include "gps/MapTitle.h"

#include <QtTest>

class TestMapTitle : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestMapTitle::parse_data() {
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("latitude");
    QTest::addColumn<QByteArray>("longitude");

    QTest::newRow("map centre") << QByteArray("(37.562159, 126.97335)") << 1
                                << QByteArray("37.562159") << QByteArray("126.97335");
    QTest::newRow("south east") << QByteArray("(-33.8568, 151.2153)") << 1 << QByteArray("-33.8568")
                                << QByteArray("151.2153");
    QTest::newRow("one word empties longitude")
        << QByteArray("(37.5)") << 1 << QByteArray("37.") << QByteArray("");
    QTest::newRow("no comma blank")
        << QByteArray("(37.5,126.9)") << 1 << QByteArray("37.5,126.") << QByteArray("");
    QTest::newRow("repeated parentheses")
        << QByteArray("((37.5, 126.9)))") << 1 << QByteArray("37.5") << QByteArray("126.9");
    QTest::newRow("blanks and a third word")
        << QByteArray("( 37.5,\t126.9 more)") << 1 << QByteArray("37.5") << QByteArray("126.9");
    QTest::newRow("empty parentheses") << QByteArray("()") << 0 << QByteArray() << QByteArray();
    QTest::newRow("open parenthesis") << QByteArray("(") << 0 << QByteArray() << QByteArray();
    QTest::newRow("blank inside") << QByteArray("( )") << 0 << QByteArray() << QByteArray();
    QTest::newRow("page title") << QByteArray("Map") << 0 << QByteArray() << QByteArray();
    QTest::newRow("empty") << QByteArray("") << 0 << QByteArray() << QByteArray();
    QTest::newRow("blank before parenthesis")
        << QByteArray(" (37.5, 126.9)") << 0 << QByteArray() << QByteArray();

    // 81 characters: the 80th and 81st ("3)") are cut away before parsing.
    QTest::newRow("title cut to 79")
        << "(" + QByteArray(38, '1') + ", " + QByteArray(38, '2') + "3)" << 1 << QByteArray(38, '1')
        << QByteArray(38, '2');
    // The rest of an over-long word is dropped, never taken as the longitude.
    QTest::newRow("word cut to 39")
        << "(" + QByteArray(50, '1') + ", 2)" << 1 << QByteArray(38, '1') << QByteArray("2");
    QTest::newRow("second word cut to 39")
        << "(1, " + QByteArray(45, '2') + ")" << 1 << QByteArray("1") << QByteArray(39, '2');
    // Cut inside the blanks: the closing parenthesis is no longer at the end.
    QTest::newRow("blanks after the parenthesis")
        << "(37.5, 126.9)" + QByteArray(200, ' ') + "x" << 1 << QByteArray("37.5")
        << QByteArray("126.9)");
}

void TestMapTitle::parse() {
    QFETCH(QByteArray, title);
    QFETCH(int, result);
    QFETCH(QByteArray, latitude);
    QFETCH(QByteArray, longitude);

    char lat[kMapWordSize] = "unchanged";
    char lon[kMapWordSize] = "unchanged";
    QCOMPARE(ParseMapTitle(title.constData(), lat, lon), result);
    if (result == 0) {
        latitude = longitude = "unchanged";
    }
    QCOMPARE(QByteArray(lat), latitude);
    QCOMPARE(QByteArray(lon), longitude);
}

QTEST_APPLESS_MAIN(TestMapTitle)
#include "test_map_title.moc"
