#include "gps/PictureReport.h"

#include <QtTest>

#include <cstring>
#include <vector>

// The read script's twelve printed lines; an empty string is a line it printed empty.
using Printed = QStringList;

Q_DECLARE_METATYPE(Printed)

namespace {

PictureReport Build(const Printed& printed, const char* path, int zoom) {
    std::vector<QByteArray> lines;
    for (const QString& text : printed)
        lines.push_back(text.toUtf8());
    bool any = false;
    for (const QByteArray& text : lines)
        any = any || !text.isEmpty();
    const PrintedLine line = [&lines](int number) -> const char* {
        if (number < 0 || number >= static_cast<int>(lines.size()) || lines[number].isEmpty())
            return nullptr;
        return lines[number].constData();
    };
    return BuildPictureReport(any, line, path, zoom);
}

Printed Sydney() {
    return {"2009:05:01 10:20:30",
            "S",
            "33; 51; 24.48",
            "33.8568",
            "E",
            "151; 12; 55.08",
            "151.2153",
            "50",
            "800",
            "600",
            "",
            ""};
}

} // namespace

class TestPictureReport : public QObject {
    Q_OBJECT

private slots:
    void report_data() {
        QTest::addColumn<Printed>("printed");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("longitude");
        QTest::addColumn<QString>("altitude"); // empty: unknown
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("text");

        const QString noGps = "This picture has no GPS information\r\n";
        const QString home = "SetCenter(37.562159,126.97335,12)";

        QTest::newRow("south and east, altitude 50") << Sydney() << 12 << "-33.8568"
                                                     << "151.2153"
                                                     << "50"
                                                     << "SetCenter(-33.8568,151.2153,12)"
                                                     << "GPS data : a.jpg\r\nAltitude: 50 meter";

        Printed north = Sydney();
        north[1] = "N";
        north[4] = "W";
        QTest::newRow("north and west, zoom from the list")
            << north << 5 << "33.8568"
            << "-151.2153"
            << "50"
            << "SetCenter(33.8568,-151.2153,5)"
            << "GPS data : a.jpg\r\nAltitude: 50 meter";

        Printed odd = Sydney();
        odd[1] = "n";
        odd[4] = "East";
        QTest::newRow("references other than N and E count as south and west")
            << odd << 12 << "-33.8568"
            << "151.2153"
            << "50"
            << "SetCenter(-33.8568,151.2153,12)"
            << "GPS data : a.jpg\r\nAltitude: 50 meter";

        Printed noAltitude = Sydney();
        noAltitude[7] = "";
        QTest::newRow("position without altitude keeps the width out")
            << noAltitude << 12 << "-33.8568"
            << "151.2153"
            << ""
            << "SetCenter(-33.8568,151.2153,12)"
            << "GPS data : a.jpg\r\nAltitude: unknown";

        QTest::newRow("width and height but no GPS")
            << Printed({"2009:05:01 10:20:30", "", "", "", "", "", "", "", "800", "600", "", ""})
            << 7 << ""
            << ""
            << "" << home << noGps;

        Printed halfPosition = Sydney();
        halfPosition[6] = "";
        QTest::newRow("latitude without longitude is no position") << halfPosition << 9 << ""
                                                                   << ""
                                                                   << "" << home << noGps;

        // Values no place can have leave the map, the fields and the altitude as they were.
        const QString unusable = "This picture's GPS position is unusable\r\n";
        const auto badPosition = [&](const char* name, int line, const char* value) {
            Printed printed = Sydney();
            printed[line] = value;
            QTest::newRow(name) << printed << 12 << ""
                                << ""
                                << ""
                                << "" << unusable;
        };
        badPosition("a position that is not a number never reaches the map", 3, "33.8568);alert(1");
        badPosition("latitude past 90", 3, "90.5");
        badPosition("longitude past 180", 6, "180.000001");
        badPosition("infinite latitude", 3, "1e999");
        badPosition("signed latitude would sign twice", 3, "-32.1");

        Printed below = Sydney();
        below[7] = "-430";
        QTest::newRow("below sea level") << below << 12 << "-33.8568"
                                         << "151.2153"
                                         << "-430"
                                         << "SetCenter(-33.8568,151.2153,12)"
                                         << "GPS data : a.jpg\r\nAltitude: -430 meter";
        const auto badAltitude = [&](const char* name, const char* value) {
            Printed printed = Sydney();
            printed[7] = value;
            QTest::newRow(name) << printed << 12 << "-33.8568"
                                << "151.2153"
                                << ""
                                << "SetCenter(-33.8568,151.2153,12)"
                                << "GPS data : a.jpg\r\nAltitude: unusable";
        };
        badAltitude("altitude above any flight", "1333333333");
        badAltitude("altitude below any mine", "-12000.5");
        badAltitude("infinite altitude", "1e999");

        QTest::newRow("only the runner's start failure")
            << Printed({"# Unable to start !!(perl \"/tmp/K1.tmp\" \"/a.jpg\" )"}) << 12 << ""
            << ""
            << "" << home << noGps;

        QTest::newRow("nothing printed") << Printed() << 12 << ""
                                         << ""
                                         << ""
                                         << ""
                                         << "This picture has no information\r\n";
    }

    void report() {
        QFETCH(Printed, printed);
        QFETCH(int, zoom);
        const PictureReport report = Build(printed, "/home/me/Photos/a.jpg", zoom);
        QTEST(QString::fromUtf8(report.szLatitude), "latitude");
        QTEST(QString::fromUtf8(report.szLongitude), "longitude");
        QFETCH(QString, latitude);
        QCOMPARE(report.bHasPosition, !latitude.isEmpty());
        QFETCH(QString, altitude);
        QCOMPARE(report.bHasAltitude, !altitude.isEmpty());
        if (report.bHasAltitude)
            QCOMPARE(QString::fromUtf8(report.szAltitude), altitude);
        QTEST(QString::fromUtf8(report.szScript), "script");
        QTEST(QString::fromUtf8(report.szText), "text");
    }

    void date_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("expected"); // year month day hour minute second
        QTest::newRow("full") << "2009:05:01 10:20:30" << QList<int>{2009, 5, 1, 10, 20, 30};
        QTest::newRow("missing date default")
            << "2010:01:01 00:00:00" << QList<int>{2010, 1, 1, 0, 0, 0};
        QTest::newRow("date without time") << "2009:05:01" << QList<int>{2009, 5, 1, 0, 0, 0};
        QTest::newRow("pieces without digits")
            << "abcd:ef:gh ij:kl:mn" << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("single digits stop at the separator")
            << "2009:5:1 1:2:3" << QList<int>{2009, 5, 0, 2, 0, 0};
    }

    void date() {
        QFETCH(QString, line);
        QFETCH(QList<int>, expected);
        Printed printed = Sydney();
        printed[0] = line;
        const PictureReport r = Build(printed, "a.jpg", 12);
        QCOMPARE((QList<int>{r.year, r.month, r.day, r.hour, r.minute, r.second}), expected);
    }

    void longFileNameIsCutButTheAltitudeStays() {
        const QByteArray name = QByteArray(150, 'n') + "\xC3\xA9" + QByteArray(20, 'x') + ".jpg";
        const QByteArray path = "/pictures/" + name;
        Printed printed = Sydney();
        printed[7] = "687.893921334923";
        const PictureReport report = Build(printed, path.constData(), 12);
        const QString text = QString::fromUtf8(report.szText);
        QVERIFY(std::strlen(report.szText) < sizeof report.szText);
        QVERIFY2(text.endsWith("...\r\nAltitude: 687.893921334923 meter"), qPrintable(text));
        QVERIFY(text.startsWith("GPS data : nnnn"));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

    void overLongLinesNeverOverrun() {
        Printed printed = Sydney();
        printed[3] = QString(70, '1');
        printed[7] = QString(70, '2');
        const PictureReport report = Build(printed, "a.jpg", 12);
        QVERIFY(!report.bHasPosition); // a latitude that does not fit is not cut into another
        printed = Sydney();
        printed[7] = QString(70, '2');
        const PictureReport noAltitude = Build(printed, "a.jpg", 12);
        QVERIFY(noAltitude.bHasPosition);
        QVERIFY(!noAltitude.bHasAltitude);
    }

    void fileName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("path") << "/home/me/a.jpg"
                              << "a.jpg";
        QTest::newRow("bare name") << "a.jpg"
                                   << "a.jpg";
        QTest::newRow("backslash is a character here") << "/x/we\\ird.jpg"
                                                       << "we\\ird.jpg";
    }

    void fileName() {
        QFETCH(QString, path);
        const QByteArray bytes = path.toUtf8();
        QTEST(QString::fromUtf8(PictureFileName(bytes.constData())), "name");
    }
};

QTEST_APPLESS_MAIN(TestPictureReport)
#include "test_picture_report.moc"
