#include "app/placenames/PlaceNamesWindow.h"
#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesWindow.h"
#include "base/SettingsFile.h"
#include "pictures/PictureList.h"
#include "places/NominatimReverse.h"

#include "tests/places/LocalHttpServer.h"
#include "tests/script/TestPictures.h"
#include "tests/support/GroundTile.h"
#include "tests/support/PrivateProgram.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Picture > Name the Places in the real program: offline proposals, an online look-up
// from a local stand-in, the user's edit, the write read back with ExifTool, and undo.
class TestPlaceNamesWindow : public QObject {
    Q_OBJECT

    PrivateProgram m_program;
    QTemporaryDir m_pictures;
    LocalHttpServer m_tiles{[](const QByteArray&) {
        if (!qEnvironmentVariableIsEmpty("KARTAVO_SCREENSHOT"))
            return LocalHttpServer::Reply{200, "image/png", GroundTile(), {}};
        return LocalHttpServer::Reply{503, "text/plain", "busy", {}};
    }};
    LocalHttpServer m_nominatim{[](const QByteArray& target) {
        const QByteArray body =
            target.startsWith("/reverse?lat=48.13")
                ? R"({"address":{"city":"München","state":"Bayern","country":"Deutschland",
                     "country_code":"de"}})"
                : R"({"error":"Unable to geocode"})";
        return LocalHttpServer::Reply{200, "application/json", body, {}};
    }};

    PicturesWindow* Window() { return PicturesWindowInstance(); }
    PictureList* List() { return Window()->Model(); }

    QByteArray MakePicture(const QString& name, const QStringList& tags) {
        const QString path = m_pictures.filePath(name);
        QProcess exiftool;
        if (!TestPictures::MakeJpeg(path))
            return {};
        exiftool.start("exiftool",
                       QStringList{"-q", "-overwrite_original"} + tags + QStringList{path});
        return exiftool.waitForFinished(60000) && exiftool.exitCode() == 0 ? QFile::encodeName(path)
                                                                           : QByteArray();
    }

    QString Tag(const QByteArray& path, const QString& tag) {
        QProcess exiftool;
        exiftool.start("exiftool", {"-s3", "-" + tag, QFile::decodeName(path)});
        exiftool.waitForFinished(60000);
        return QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed();
    }

    QString Cell(int row, int column) { return List()->index(row, column).data().toString(); }

    bool Idle() {
        return WaitUntil([this] { return !Window()->Batch().IsBusy(); }, 60000);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_pictures.isValid());
        QVERIFY(m_tiles.Listen() && m_nominatim.Listen());
        QVERIFY(m_program.Start("PicturesShow"));
        QSettings settings = OpenSettingsFile();
        settings.setValue("Map/TileUrl", QString::fromLatin1(m_tiles.Base() + "{z}/{x}/{y}.png"));
        settings.setValue("Search/NominatimUrl", QString::fromLatin1(m_nominatim.Base()));
        settings.sync();
        QVERIFY(ShowPicturesWindow());
        QVERIFY(QTest::qWaitForWindowExposed(Window()));
    }

    void cleanupTestCase() { m_program.Stop(); }

    void namedEditedWrittenUndone() {
        const QByteArray munich =
            MakePicture("munich.jpg", {"-GPSLatitude=48.1374", "-GPSLatitudeRef=N",
                                       "-GPSLongitude=11.5755", "-GPSLongitudeRef=E"});
        const QByteArray held = MakePicture(
            "held.jpg", {"-GPSLatitude=48.1374", "-GPSLatitudeRef=N", "-GPSLongitude=11.5755",
                         "-GPSLongitudeRef=E", "-IPTC:City=Bonn"});
        const QByteArray sea = MakePicture("sea.jpg", {"-GPSLatitude=30", "-GPSLatitudeRef=N",
                                                       "-GPSLongitude=40", "-GPSLongitudeRef=W"});
        QVERIFY(!munich.isEmpty() && !held.isEmpty() && !sea.isEmpty());
        Window()->AddPictures({munich, held, sea});
        QVERIFY(WaitUntil(
            [this] {
                return List()->Count() == 3 && List()->IsRead(0) && List()->IsRead(1) &&
                       List()->IsRead(2);
            },
            60000));
        QVERIFY(Idle());
        const int m = List()->RowOf(munich), h = List()->RowOf(held), s = List()->RowOf(sea);
        QCOMPARE(Cell(h, PictureList::City), QStringLiteral("Bonn")); // read from the picture

        auto* entry = m_program.main->findChild<QAction*>("nameThePlaces");
        QVERIFY(entry);
        entry->trigger();
        auto* window = Window()->findChild<PlaceNamesWindow*>();
        QVERIFY(window && window->isVisible());
        QVERIFY2(Cell(m, PictureList::City).startsWith("Munich ("),
                 qPrintable(Cell(m, PictureList::City)));
        QCOMPARE(Cell(m, PictureList::CountryCode), QStringLiteral("DE"));
        QVERIFY(Cell(s, PictureList::Country).isEmpty());

        // Online answers replace the offline ones; the one at sea stays unnamed.
        window->findChild<QPushButton*>("lookUpOnline")->click();
        QVERIFY(WaitUntil([window] { return !window->Online()->IsBusy(); }, 20000));
        QCOMPARE(Cell(m, PictureList::City), QStringLiteral("München"));
        QVERIFY(Cell(s, PictureList::City).isEmpty());
        QVERIFY(window->findChild<QLabel*>("placeNamesStatus")->text().contains("2"));
        // With the attribution and the outcome shown, still wholly on the screen and tall
        // enough for its texts.
        QTest::qWait(100);
        QVERIFY(window->height() >= window->heightForWidth(window->width()));
        QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(window->x())
                                .arg(window->y())
                                .arg(window->width())
                                .arg(window->height())));

        // The user's own words win.
        QVERIFY(List()->setData(List()->index(m, PictureList::Region), "Oberbayern"));
        QCOMPARE(Cell(h, PictureList::City), QStringLiteral("Bonn")); // what will be written
        if (!qEnvironmentVariableIsEmpty("KARTAVO_SCREENSHOT")) {     // for the README
            QTest::qWait(300);
            QProcess::execute("import",
                              {"-window", "root", qEnvironmentVariable("KARTAVO_SCREENSHOT")});
        }

        window->findChild<QPushButton*>("writeNames")->click();
        QVERIFY(Idle());
        QCOMPARE(Tag(munich, "XMP-photoshop:City"), QStringLiteral("München"));
        QCOMPARE(Tag(munich, "XMP-photoshop:State"), QStringLiteral("Oberbayern"));
        QCOMPARE(Tag(held, "IPTC:City"), QStringLiteral("Bonn")); // held names are kept
        QCOMPARE(Tag(held, "IPTC:Country-PrimaryLocationCode"), QStringLiteral("DE"));
        QVERIFY(Tag(sea, "XMP-photoshop:all").isEmpty());
        QVERIFY(WaitUntil(
            [&] {
                return Cell(m, PictureList::Region) == "Oberbayern" && !List()->ProposedNamesOf(m);
            },
            60000));

        Window()->Batch().UndoLast();
        QVERIFY(Idle());
        QVERIFY(Tag(munich, "XMP-photoshop:City").isEmpty());
        QVERIFY(Tag(held, "IPTC:Country-PrimaryLocationCode").isEmpty());
        QCOMPARE(Tag(held, "IPTC:City"), QStringLiteral("Bonn"));
    }
};

QTEST_MAIN(TestPlaceNamesWindow)
#include "test_place_names_window.moc"
