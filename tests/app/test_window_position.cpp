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

    void placeOnScreen_data() {
        QTest::addColumn<QRect>("screen"); // available geometry
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QPoint>("expected");
        const QRect wide(0, 0, 1280, 1000); // less a panel at the bottom
        QTest::newRow("fits where wanted")
            << wide << QSize(720, 300) << QPoint(10, 540) << QPoint(10, 540);
        QTest::newRow("beside the main window, off the right edge")
            << wide << QSize(720, 300) << QPoint(874, 0) << QPoint(560, 0);
        QTest::newRow("below, off the bottom")
            << wide << QSize(720, 300) << QPoint(0, 900) << QPoint(0, 700);
        QTest::newRow("off the left and top")
            << wide << QSize(720, 300) << QPoint(-50, -9) << QPoint(0, 0);
        QTest::newRow("wider and taller than the screen")
            << wide << QSize(1400, 1100) << QPoint(300, 200) << QPoint(0, 0);
        QTest::newRow("exactly the screen")
            << wide << QSize(1280, 1000) << QPoint(5, 5) << QPoint(0, 0);
        const QRect right(1280, 24, 1920, 1056); // a second screen with a panel on top
        QTest::newRow("second screen, in its own corner")
            << right << QSize(720, 300) << QPoint(1000, 0) << QPoint(1280, 24);
        QTest::newRow("second screen, off its far edge")
            << right << QSize(720, 300) << QPoint(3000, 900) << QPoint(2480, 780);
    }

    void placeOnScreen() {
        QFETCH(QRect, screen);
        QFETCH(QSize, size);
        QFETCH(QPoint, wanted);
        QFETCH(QPoint, expected);
        QCOMPARE(PlaceOnScreen(screen, size, wanted), expected);
    }

    // Where the trip window opens the first time: beside the main window, not over it.
    void largestFreeRect_data() {
        QTest::addColumn<QRect>("occupied");
        QTest::addColumn<QRect>("expected");
        // A 1280x800 screen under a 24-pixel panel.
        QTest::newRow("main window at the left: the right")
            << QRect(30, 54, 600, 500) << QRect(630, 24, 650, 776);
        QTest::newRow("main window at the right: the left")
            << QRect(700, 24, 580, 500) << QRect(0, 24, 700, 776);
        QTest::newRow("main window wide at the top: below")
            << QRect(0, 24, 1280, 300) << QRect(0, 324, 1280, 476);
        QTest::newRow("off the screen: all of it")
            << QRect(2000, 0, 600, 500) << QRect(0, 24, 1280, 776);
    }

    void largestFreeRect() {
        QFETCH(QRect, occupied);
        QFETCH(QRect, expected);
        QCOMPARE(LargestFreeRect(QRect(0, 24, 1280, 776), occupied), expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowPosition)
#include "test_window_position.moc"
