#include "app/WindowPosition.h"

#include <QtTest>

class TestWindowPosition : public QObject {
    Q_OBJECT

private slots:
    void rule_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("monitors");
        QTest::addColumn<QPoint>("expected");
        // One 1024 x 768 monitor unless the row says otherwise.
        QTest::newRow("no settings") << 0 << 0 << 1 << QPoint(0, 0);
        QTest::newRow("negative x resets both") << -5 << 200 << 1 << QPoint(30, 30);
        QTest::newRow("negative y resets both") << 200 << -1 << 1 << QPoint(30, 30);
        QTest::newRow("closed while minimised") << -32000 << -32000 << 1 << QPoint(30, 30);
        QTest::newRow("x at screen less 20 stays") << 1004 << 100 << 1 << QPoint(1004, 100);
        QTest::newRow("x one beyond") << 1005 << 100 << 1 << QPoint(30, 30);
        QTest::newRow("y at screen less 20 stays") << 100 << 748 << 1 << QPoint(100, 748);
        QTest::newRow("y one beyond") << 100 << 749 << 1 << QPoint(30, 30);
        QTest::newRow("two monitors have no upper bound") << 3000 << 100 << 2 << QPoint(3000, 100);
        QTest::newRow("two monitors still refuse negatives") << -5 << 100 << 2 << QPoint(30, 30);
    }

    void rule() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, monitors);
        QFETCH(QPoint, expected);
        QCOMPARE(ApplyPositionRule(x, y, monitors, 1024, 768), expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowPosition)
#include "test_window_position.moc"
