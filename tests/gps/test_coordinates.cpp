#include "base/AppState.h"
#include "gps/CoordinateCheck.h"
#include "gps/DecimalText.h"
#include "gps/DecimalToDMS.h"
#include "gps/GPSArguments.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

// A row value meaning "strAltitude is absent".
static const char* const kAbsent = "<absent>";

class TestCoordinates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void decimalToDMS_data();
    void decimalToDMS();
    void decimalToDMSInCommaLocale_data() { decimalToDMS_data(); }
    void decimalToDMSInCommaLocale();

    void gpsArguments_data();
    void gpsArguments();
    void gpsArgumentsInCommaLocale_data() { gpsArguments_data(); }
    void gpsArgumentsInCommaLocale();
    void overlongAltitudeIsCut();

    void plainDecimal_data();
    void plainDecimal();

    void checkFields_data();
    void checkFields();
    void checkFieldsInCommaLocale_data() { checkFields_data(); }
    void checkFieldsInCommaLocale();
    void checkMessageIsCutToItsBuffer();

private:
    void useCommaLocale();
    void compareDecimalToDMS();
    void compareGPSArguments();
    void compareCheckFields();

    QByteArray m_originalLocale;
    QByteArray m_commaLocale;
    QTemporaryDir m_localeDir;
};

static bool DecimalPointIsComma() {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 0.5);
    return std::strcmp(text, "0,5") == 0;
}

// Finds a locale that writes "0,5", building a German one when the system has none compiled.
void TestCoordinates::initTestCase() {
    m_originalLocale = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_ALL, name) && DecimalPointIsComma()) {
            m_commaLocale = name;
            break;
        }
    }
    if (m_commaLocale.isEmpty() && m_localeDir.isValid()) {
        QProcess::execute("localedef",
                          {"-i", "de_DE", "-f", "UTF-8", m_localeDir.filePath("de_DE.UTF-8")});
        qputenv("LOCPATH", QFile::encodeName(m_localeDir.path()));
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") && DecimalPointIsComma())
            m_commaLocale = "de_DE.UTF-8";
    }
    std::setlocale(LC_ALL, m_originalLocale.constData());
}

void TestCoordinates::cleanup() {
    std::setlocale(LC_ALL, m_originalLocale.constData());
}

void TestCoordinates::useCommaLocale() {
    if (m_commaLocale.isEmpty())
        QSKIP("no locale with a decimal comma can be had here");
    QVERIFY(std::setlocale(LC_ALL, m_commaLocale.constData()));
    QVERIFY(DecimalPointIsComma());
}

void TestCoordinates::decimalToDMS_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("degrees");
    QTest::addColumn<QByteArray>("minutes");
    QTest::addColumn<QByteArray>("seconds");

    const auto row = [](const char* name, const char* text, int result, const char* d,
                        const char* m, const char* s) {
        QTest::newRow(name) << QByteArray(text) << result << QByteArray(d) << QByteArray(m)
                            << QByteArray(s);
    };
    row("default latitude", "37.562159", 1, "37", "33", "43.7724");
    row("default longitude", "126.97335", 1, "126", "58", "24.0600");
    row("sydney", "33.8568", 1, "33", "51", "24.4800");
    row("zero minutes", "74.0060", 1, "74", "0", "21.6000");
    row("seconds round to 60, not carried", "10.1", 1, "10", "5", "60.0000");
    row("nearly 90", "89.99999999", 1, "89", "59", "60.0000");
    row("small", "0.0001", 1, "0", "0", "0.3600");
    row("exponent", "1e1", 1, "10", "0", "0.0000");
    row("comma ends the number", "37,5", 1, "37", "0", "0.0000");
    row("empty", "", 1, "0", "0", "0.0000");
    row("not a number", "abc", 1, "0", "0", "0.0000");
    row("negative parts keep signs", "-37.562159", 1, "-37", "-33", "-43.7724");
    row("leading blank then minus", " -37.5", 1, "-37", "-30", "0.0000");
    row("plus sign", "+2.5", 1, "2", "30", "0.0000");
    row("no integer digits", ".5", 1, "0", "30", "0.0000");
    row("exponent without digits ends", "5e", 1, "5", "0", "0.0000");
    row("hex is not read", "0x10", 1, "0", "0", "0.0000");
    row("inf is not read", "inf", 1, "0", "0", "0.0000");
    row("nan is not read", "nan", 1, "0", "0", "0.0000");
    row("largest degrees", "2147483647.5", 1, "2147483647", "30", "0.0000");
    row("largest negative degrees", "-2147483647.5", 1, "-2147483647", "-30", "0.0000");
    row("2^31 refused", "2147483648", 0, "0", "0", "0.0000");
    row("-2^31 refused", "-2147483648", 0, "0", "0", "0.0000");
    row("1e300 refused", "1e300", 0, "0", "0", "0.0000");
    row("overflow refused", "1e999", 0, "0", "0", "0.0000");
    row("negative overflow refused", "-1e999", 0, "0", "0", "0.0000");
    row("underflow reads 0", "1e-999", 1, "0", "0", "0.0000");
}

void TestCoordinates::compareDecimalToDMS() {
    QFETCH(QByteArray, text);
    QFETCH(int, result);
    QFETCH(QByteArray, degrees);
    QFETCH(QByteArray, minutes);
    QFETCH(QByteArray, seconds);

    char d[kDMSTextSize], m[kDMSTextSize], s[kDMSTextSize];
    std::memset(d, 'x', sizeof d);
    std::memset(m, 'x', sizeof m);
    std::memset(s, 'x', sizeof s);
    QCOMPARE(DecimalToDMS(text.constData(), d, m, s), result);
    QCOMPARE(QByteArray(d), degrees);
    QCOMPARE(QByteArray(m), minutes);
    QCOMPARE(QByteArray(s), seconds);
}

void TestCoordinates::decimalToDMS() {
    compareDecimalToDMS();
}

void TestCoordinates::decimalToDMSInCommaLocale() {
    useCommaLocale();
    compareDecimalToDMS();
}

void TestCoordinates::gpsArguments_data() {
    QTest::addColumn<QByteArray>("latitude");
    QTest::addColumn<QByteArray>("longitude");
    QTest::addColumn<QByteArray>("altitudeBefore");
    QTest::addColumn<QByteArray>("arguments");
    QTest::addColumn<QByteArray>("altitudeAfter");
    QTest::addColumn<QByteArray>("latitudeAfter");
    QTest::addColumn<QByteArray>("longitudeAfter");

    QTest::newRow("default place, no altitude yet")
        << QByteArray("37.562159") << QByteArray("126.97335") << QByteArray(kAbsent)
        << QByteArray("N 37/33/43.7724 E 126/58/24.0600 50") << QByteArray("50")
        << QByteArray("37.562159") << QByteArray("126.97335");
    QTest::newRow("default place, empty altitude")
        << QByteArray("37.562159") << QByteArray("126.97335") << QByteArray("")
        << QByteArray("N 37/33/43.7724 E 126/58/24.0600 50") << QByteArray("50")
        << QByteArray("37.562159") << QByteArray("126.97335");
    QTest::newRow("south") << QByteArray("-33.8568") << QByteArray("151.2153") << QByteArray("50")
                           << QByteArray("S 33/51/24.4800 E 151/12/55.0800 50") << QByteArray("50")
                           << QByteArray("33.8568") << QByteArray("151.2153");
    QTest::newRow("west, altitude kept")
        << QByteArray("40.7128") << QByteArray("-74.0060") << QByteArray("687.893921334923")
        << QByteArray("N 40/42/46.0800 W 74/0/21.6000 687.893921334923")
        << QByteArray("687.893921334923") << QByteArray("40.7128") << QByteArray("74.0060");
    QTest::newRow("below sea level, sign kept")
        << QByteArray("31.5") << QByteArray("35.5") << QByteArray("-430")
        << QByteArray("N 31/30/0.0000 E 35/30/0.0000 -430") << QByteArray("-430")
        << QByteArray("31.5") << QByteArray("35.5");
    QTest::newRow("empty fields") << QByteArray("") << QByteArray("") << QByteArray("")
                                  << QByteArray("N 0/0/0.0000 E 0/0/0.0000 50") << QByteArray("50")
                                  << QByteArray("") << QByteArray("");
    QTest::newRow("dashes at the ends")
        << QByteArray("37.5-") << QByteArray("--126.5") << QByteArray("50")
        << QByteArray("N 37/30/0.0000 W 126/30/0.0000 50") << QByteArray("50") << QByteArray("37.5")
        << QByteArray("126.5");
    QTest::newRow("blank keeps north and the minus")
        << QByteArray(" -37.5") << QByteArray("126") << QByteArray(kAbsent)
        << QByteArray("N -37/-30/0.0000 E 126/0/0.0000 50") << QByteArray("50")
        << QByteArray(" -37.5") << QByteArray("126");
    QTest::newRow("inner dash stays")
        << QByteArray("-5-3-") << QByteArray("---") << QByteArray("50")
        << QByteArray("S 5/0/0.0000 W 0/0/0.0000 50") << QByteArray("50") << QByteArray("5-3")
        << QByteArray("");
    QTest::newRow("huge degrees refused as 0")
        << QByteArray("3000000000") << QByteArray("-1e999") << QByteArray("50")
        << QByteArray("N 0/0/0.0000 W 0/0/0.0000 50") << QByteArray("50")
        << QByteArray("3000000000") << QByteArray("1e999");
}

void TestCoordinates::compareGPSArguments() {
    QFETCH(QByteArray, latitude);
    QFETCH(QByteArray, longitude);
    QFETCH(QByteArray, altitudeBefore);
    QFETCH(QByteArray, arguments);
    QFETCH(QByteArray, altitudeAfter);
    QFETCH(QByteArray, latitudeAfter);
    QFETCH(QByteArray, longitudeAfter);

    // The fields are read into 32-character buffers.
    char lat[32], lon[32], out[kGPSArgumentsSize];
    qstrncpy(lat, latitude.constData(), sizeof lat);
    qstrncpy(lon, longitude.constData(), sizeof lon);
    if (altitudeBefore == kAbsent)
        g_app.strAltitude.reset();
    else
        g_app.strAltitude = altitudeBefore.toStdString();

    FormatGPSArguments(lat, lon, out);
    QCOMPARE(QByteArray(out), arguments);
    QVERIFY(g_app.strAltitude.has_value());
    QCOMPARE(QByteArray::fromStdString(*g_app.strAltitude), altitudeAfter);
    QCOMPARE(QByteArray(lat), latitudeAfter);
    QCOMPARE(QByteArray(lon), longitudeAfter);
}

void TestCoordinates::gpsArguments() {
    compareGPSArguments();
}

void TestCoordinates::gpsArgumentsInCommaLocale() {
    useCommaLocale();
    compareGPSArguments();
}

void TestCoordinates::overlongAltitudeIsCut() {
    g_app.strAltitude = std::string(300, '9');
    char lat[32] = "37.5", lon[32] = "126.5", out[kGPSArgumentsSize];
    FormatGPSArguments(lat, lon, out);
    const QByteArray prefix("N 37/30/0.0000 E 126/30/0.0000 ");
    QCOMPARE(QByteArray(out), prefix + QByteArray(int(kGPSArgumentsSize - 1 - prefix.size()), '9'));
}

void TestCoordinates::plainDecimal_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("plain");

    for (const char* text :
         {"0", "37.562159", "-33.8568", "+5", "5.", ".5", "-.5", "007", "1e5", "1E-5", "2.5e+10"})
        QTest::newRow(text) << QByteArray(text) << true;
    for (const char* text : {"",      ".",    "-",     "+",     "--5",  "+-5",      "e5",
                             "1e",    "1e+",  "1e5.5", "1.2.3", "37,5", " 37",      "37 ",
                             "12abc", "0x10", "inf",   "-inf",  "nan",  "Infinity", "1);alert(1"})
        QTest::newRow(*text ? text : "empty") << QByteArray(text) << false;
}

void TestCoordinates::plainDecimal() {
    QFETCH(QByteArray, text);
    QFETCH(bool, plain);
    QCOMPARE(IsPlainDecimal(text.constData()), plain);
    QCOMPARE(IsPlainDecimal(nullptr), false);
}

void TestCoordinates::checkFields_data() {
    QTest::addColumn<QByteArray>("latitude");
    QTest::addColumn<QByteArray>("longitude");
    QTest::addColumn<QByteArray>("message");

    const auto row = [](const char* name, const char* lat, const char* lon, const char* message) {
        QTest::newRow(name) << QByteArray(lat) << QByteArray(lon) << QByteArray(message);
    };
    row("default place", "37.562159", "126.97335", "");
    row("south west", "-33.8568", "-151.2153", "");
    row("limits", "90", "-180", "");
    row("negative limits", "-90", "180", "");
    row("dashes at the ends", "37.5-", "--126.5", "");
    row("exponents and signs", "1e1", "+2.5E+1", "");
    row("empty latitude", "", "126", "Latitude is empty");
    row("blank latitude", "   ", "126", "Latitude is empty");
    row("empty longitude", "37.5", "", "Longitude is empty");
    row("both empty, latitude first", "", "", "Latitude is empty");
    row("decimal comma", "37,5", "126", "Latitude is not a number");
    row("trailing text", "12abc", "126", "Latitude is not a number");
    row("word", "abc", "126", "Latitude is not a number");
    row("blank before minus", " -37.5", "126", "Latitude is not a number");
    row("trailing blank", "37.5 ", "126", "Latitude is not a number");
    row("hex", "0x10", "126", "Latitude is not a number");
    row("inf", "inf", "126", "Latitude is not a number");
    row("nan", "nan", "126", "Latitude is not a number");
    row("dash only", "-", "126", "Latitude is not a number");
    row("inner dash", "5-3", "126", "Latitude is not a number");
    row("exponent without digits", "1e", "126", "Latitude is not a number");
    row("longitude comma", "37.5", "126,9", "Longitude is not a number");
    row("latitude 95", "95", "126", "Latitude must be between -90 and 90");
    row("just below -90", "-90.0001", "126", "Latitude must be between -90 and 90");
    row("latitude overflow", "1e999", "126", "Latitude must be between -90 and 90");
    row("longitude 180.5", "37.5", "180.5", "Longitude must be between -180 and 180");
    row("longitude -181", "37.5", "-181", "Longitude must be between -180 and 180");
    row("latitude judged first", "95", "abc", "Latitude must be between -90 and 90");
}

void TestCoordinates::compareCheckFields() {
    QFETCH(QByteArray, latitude);
    QFETCH(QByteArray, longitude);
    QFETCH(QByteArray, message);

    char text[64];
    std::memset(text, 'x', sizeof text);
    QCOMPARE(CheckCoordinateFields(latitude.constData(), longitude.constData(), text, sizeof text),
             message.isEmpty());
    QCOMPARE(QByteArray(text), message);
}

void TestCoordinates::checkFields() {
    compareCheckFields();
}

void TestCoordinates::checkFieldsInCommaLocale() {
    useCommaLocale();
    compareCheckFields();
}

void TestCoordinates::checkMessageIsCutToItsBuffer() {
    char text[8];
    QVERIFY(!CheckCoordinateFields("95", "0", text, sizeof text));
    QCOMPARE(QByteArray(text), QByteArray("Latitud"));
    QVERIFY(!CheckCoordinateFields("95", "0", nullptr, 0));
    QVERIFY(CheckCoordinateFields("9", "0", nullptr, 0));
}

QTEST_GUILESS_MAIN(TestCoordinates)
#include "test_coordinates.moc"
