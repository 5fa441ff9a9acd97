#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/MatchDialog.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "app/trip/TripMap.h"
#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"

#include "tests/script/TestPictures.h"
#include "tests/support/PrivateProgram.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

#include <functional>

// The whole road in the real program: open pictures, open a track, match, write, and read
// the pictures back with ExifTool.
class TestTrackWindow : public QObject {
    Q_OBJECT

    PrivateProgram m_program;
    QTemporaryDir m_files;
    std::unique_ptr<QWidget>& m_main = m_program.main;
    QStringList m_pictures;

    static constexpr qint64 kStart = 1719824400000; // 2024-07-01T09:00:00Z
    static double Lat(int i) { return 47.37 + 0.0002 * i; }
    static double Lon(int i) { return 8.54 + 0.0003 * i + 0.0004 * std::sin(i / 6.0); }

    TracksWindow* Tracks() { return TracksWindowInstance(); }
    PictureList* List() { return PicturesWindowInstance()->Model(); }

    void Trigger(const char* name) {
        auto* action = m_main->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr, name);
        action->trigger();
    }

    // Answers the next modal dialog from inside its own event loop.
    template <typename Dialog> void Answer(const std::function<void(Dialog*)>& answer) {
        QTimer::singleShot(0, this, [answer] {
            Dialog* dialog = nullptr;
            WaitUntil([&] {
                dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
                return dialog != nullptr;
            });
            if (dialog)
                answer(dialog);
        });
    }

    QJsonArray ReadBack(const QStringList& tags) {
        QProcess exiftool;
        exiftool.start("exiftool", QStringList{"-j", "-n"} + tags + m_pictures);
        exiftool.waitForFinished(60000);
        return QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_files.isValid());
        QVERIFY(m_program.Start("TrackAdd"));
        // The page's scripts are there before its map is made (on load): a track drawn in
        // between would be drawn again without fitting the map to it.
        QVERIFY(WaitForJs(g_app.pMapView->View()->page(), "map ? 'made' : 'not yet'", "made"));
    }

    void cleanupTestCase() { m_program.Stop(); }

    // A good track and a broken one: the good one is listed, drawn and fitted; the broken
    // one is named with its line and loads nothing.
    void opensTracks() {
        QByteArray gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                         "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>Walk</name>"
                         "<trkseg>\n";
        for (int i = 0; i <= 60; ++i)
            gpx += QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>%3</ele><time>%4</time>"
                                  "</trkpt>\n")
                       .arg(Lat(i), 0, 'f', 7)
                       .arg(Lon(i), 0, 'f', 7)
                       .arg(400 + i)
                       .arg(QDateTime::fromMSecsSinceEpoch(kStart + i * 10000, Qt::UTC)
                                .toString(Qt::ISODate))
                       .toUtf8();
        gpx += "</trkseg></trk></gpx>\n";
        QFile good(m_files.filePath("walk.gpx"));
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write(gpx);
        good.close();
        QFile broken(m_files.filePath("broken.gpx"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(gpx.left(gpx.indexOf("<trkpt", 300)) + "<trkpt lat=");
        broken.close();

        Answer<QFileDialog>([this](QFileDialog* dialog) {
            dialog->setDirectory(m_files.path());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("\"walk.gpx\" \"broken.gpx\"");
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        Trigger("openTrack");
        QVERIFY(WaitUntil(
            [this] { return Tracks() && Tracks()->TrackCount() == 1 && !Tracks()->IsLoading(); }));
        QVERIFY(Tracks()->isVisible());
        const QString status = Tracks()->findChild<QLabel*>("trackStatus")->text();
        QVERIFY2(status.contains("broken.gpx ends too early, at line 5"), qPrintable(status));

        // Opened again by another name of the same file: still one.
        Tracks()->OpenFiles(
            {m_files.path() + "/../" + QDir(m_files.path()).dirName() + "/walk.gpx"});
        QVERIFY(WaitUntil([this] { return !Tracks()->IsLoading(); }));
        QCOMPARE(Tracks()->TrackCount(), 1);

        QWebEnginePage* page = g_app.pMapView->View()->page();
        QCOMPARE(EvalJs(page, "TrackDrawn()[0]").toInt(), 1);
        // The time span also in the zone of the track's own place.
        auto* item = Tracks()->findChild<QTreeWidget*>("trackList")->topLevelItem(0);
        QCOMPARE(item->text(1), QStringLiteral("2024-07-01 09:00:00 – 09:10:00 UTC"));
        QCOMPARE(item->text(2), QStringLiteral("2024-07-01 11:00:00 – 11:10:00 CEST"));
        // Close works on the selected tracks: with none selected it is not offered.
        auto* close = Tracks()->findChild<QPushButton*>("closeTrack");
        QVERIFY(!close->isEnabled());
        item->setSelected(true);
        QVERIFY(close->isEnabled());
        item->setSelected(false);
        QVERIFY(!close->isEnabled());
        // Hidden and shown again from its box in the list.
        item->setCheckState(0, Qt::Unchecked);
        QVERIFY(WaitForJs(page, "TrackDrawn()[0]", 0));
        item->setCheckState(0, Qt::Checked);
        QVERIFY(WaitForJs(page, "TrackDrawn()[0]", 1));
        // Fitted: the map's centre is the middle of the track.
        const bool fitted = WaitUntil(
            [page] {
                return std::abs(EvalJs(page, "map.getCenter().lat").toDouble() - Lat(30)) < 0.001;
            },
            15000);
        QVERIFY2(fitted, qPrintable(EvalJs(page, "map.getCenter().toString()").toString()));
    }

    void matchesAndWrites() {
        // The camera runs two minutes slow in Zurich's summer time; the third picture was
        // taken hours after the track.
        const QList<qint64> trueTimes{kStart + 125000, kStart + 420000, kStart + 3 * 3600000};
        for (int i = 0; i < trueTimes.size(); ++i) {
            const QString path = m_files.filePath(QStringLiteral("picture %1.jpg").arg(i));
            QVERIFY(TestPictures::MakeJpeg(path));
            const QString camera =
                QDateTime::fromMSecsSinceEpoch(trueTimes[i] - 120000, QTimeZone("Europe/Zurich"))
                    .toString("yyyy:MM:dd HH:mm:ss");
            QProcess exiftool;
            exiftool.start("exiftool",
                           {"-q", "-overwrite_original", "-DateTimeOriginal=" + camera, path});
            QVERIFY(exiftool.waitForFinished(60000) && exiftool.exitCode() == 0);
            m_pictures << path;
        }
        QList<QByteArray> paths;
        for (const QString& p : m_pictures)
            paths << QFile::encodeName(p);
        ShowPicturesWindow()->AddPictures(paths);
        QVERIFY(WaitUntil(
            [this] { return List()->IsRead(0) && List()->IsRead(1) && List()->IsRead(2); }, 20000));

        QByteArray startZone;
        Answer<MatchDialog>([&startZone](MatchDialog* dialog) {
            startZone = dialog->findChild<QComboBox*>("matchZone")->currentData().toByteArray();
            dialog->findChild<QLineEdit*>("clockCorrection")->setText("+0:02:00");
            dialog->accept();
        });
        Trigger("matchToTrackMenu");
        QCOMPARE(startZone, QByteArray("Europe/Zurich"));

        const auto first = List()->NewPositionOf(0);
        QVERIFY(first);
        QCOMPARE(first->how, QStringLiteral("interpolated"));
        QVERIFY(std::abs(first->latitude - (Lat(12) + Lat(13)) / 2) < 1e-9);
        QVERIFY(std::abs(first->longitude - (Lon(12) + Lon(13)) / 2) < 1e-7);
        QVERIFY(std::abs(*first->altitude - 412.5) < 1e-9);
        QCOMPARE(first->utcTime.toMSecsSinceEpoch(), trueTimes[0]);
        QVERIFY(List()->HasNewPosition(1));
        QVERIFY(!List()->HasNewPosition(2));
        const QString why = List()->index(2, PictureList::State).data().toString() +
                            List()->index(2, PictureList::NewPosition).data().toString();
        QVERIFY2(why.contains("no track at that time (2 h 50 min off)"), qPrintable(why));

        // By hand: the screen with the matched pictures waiting.
        if (qEnvironmentVariableIsSet("KARTAVO_TRACK_SCREENSHOT")) {
            PicturesWindowInstance()->setGeometry(10, 580, 1260, 420);
            Tracks()->setGeometry(880, 30, 390, 500);
            Settle(1500);
            QGuiApplication::primaryScreen()->grabWindow(0).save(
                qEnvironmentVariable("KARTAVO_TRACK_SCREENSHOT"));
        }
        auto* write = PicturesWindowInstance()->findChild<QPushButton*>("writeChanges");
        QCOMPARE(write->text(), QStringLiteral("Write 2 changes"));
        // Enabled once the read has ended.
        QVERIFY(WaitUntil([write] { return write->isEnabled(); }));
        write->click();
        const bool written = WaitUntil(
            [this] {
                return List()->StateOf(0) == PictureList::WriteState::Written &&
                       List()->StateOf(1) == PictureList::WriteState::Written;
            },
            30000);
        QVERIFY2(
            written,
            qPrintable(List()->index(0, PictureList::State).data().toString() + " / " +
                       PicturesWindowInstance()->findChild<QLabel*>("picturesStatus")->text()));

        const QJsonArray tags = ReadBack(
            {"-GPSLatitude", "-GPSLongitude", "-GPSAltitude", "-GPSDateStamp", "-GPSTimeStamp"});
        QCOMPARE(tags.size(), 3);
        const QJsonObject a = tags[0].toObject();
        QVERIFY(std::abs(a["GPSLatitude"].toDouble() - (Lat(12) + Lat(13)) / 2) < 1e-6);
        QVERIFY(std::abs(a["GPSLongitude"].toDouble() - (Lon(12) + Lon(13)) / 2) < 1e-6);
        QVERIFY(std::abs(a["GPSAltitude"].toDouble() - 412.5) < 0.01);
        QCOMPARE(a["GPSDateStamp"].toString(), QStringLiteral("2024:07:01"));
        QCOMPARE(a["GPSTimeStamp"].toString(), QStringLiteral("09:02:05"));
        QVERIFY(std::abs(tags[1].toObject()["GPSLatitude"].toDouble() - Lat(42)) < 1e-6);
        QVERIFY(!tags[2].toObject().contains("GPSLatitude"));
    }

    // The second picture was taken where the track was at 09:06:00 UTC: its camera shows
    // 11:05:00, so the clock is a minute slow, and the first picture moves with it.
    void setsClockFromPicture() {
        PicturesWindowInstance()->SelectRow(1);
        Settle(300); // the picture becomes the current one, which moves the map
        // The user puts the trip's map where the picture was taken.
        TripMap* map = PicturesWindowInstance()->Map();
        QVERIFY(WaitUntil([map] { return map->IsReady(); }, 20000));
        const double lat = Lat(36) + 0.00001;
        EvalJs(map->View()->page(),
               QStringLiteral("TripView(%1, %2, 16)").arg(lat, 0, 'f', 6).arg(Lon(36), 0, 'f', 6));
        QVERIFY(WaitUntil([&] { return std::abs(map->Centre()->latitude - lat) < 1e-7; }));
        Trigger("setClockMenu");
        QCOMPARE(Tracks()->Settings().correctionMs, qint64(60000));
        const auto first = List()->NewPositionOf(0);
        QVERIFY(first);
        QCOMPARE(first->utcTime.toMSecsSinceEpoch(), kStart + 65000);
        QVERIFY(std::abs(first->latitude - (Lat(6) + Lat(7)) / 2) < 1e-9);
        const QString status = Tracks()->findChild<QLabel*>("trackStatus")->text();
        QVERIFY2(status.contains("clock correction +0:01:00"), qPrintable(status));
    }

    // A track opened while the main map's page loads: the page drops what it is sent until
    // it has loaded, and the track drawn again then still fits the map.
    void fitsMapOpenedWhileLoading() {
        QFile file(m_files.filePath("lake.gpx"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>"
                   "<trkpt lat=\"46.50\" lon=\"6.60\"/><trkpt lat=\"46.52\" lon=\"6.64\"/>"
                   "</trkseg></trk></gpx>\n");
        file.close();
        QWebEnginePage* page = g_app.pMapView->View()->page();
        QSignalSpy started(page, &QWebEnginePage::loadStarted);
        QSignalSpy finished(page, &QWebEnginePage::loadFinished);
        page->triggerAction(QWebEnginePage::Reload);
        QVERIFY(started.wait(15000));
        Tracks()->OpenFiles({file.fileName()});
        QVERIFY(WaitUntil([this] { return !Tracks()->IsLoading(); }));
        QVERIFY2(finished.isEmpty(), "the page loaded before the track was opened");
        QVERIFY(finished.wait(15000));
        QVERIFY(WaitForJs(page, "map ? 'made' : 'not yet'", "made"));
        const bool fitted = WaitUntil(
            [page] {
                return std::abs(EvalJs(page, "map.getCenter().lat").toDouble() - 46.51) < 0.001;
            },
            15000);
        QVERIFY2(fitted, qPrintable(EvalJs(page, "map.getCenter().toString()").toString()));
    }
};

QTEST_MAIN(TestTrackWindow)
#include "test_track_window.moc"
