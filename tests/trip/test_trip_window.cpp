#include "app/Startup.h"
#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/Timeline.h"
#include "app/trip/TracksWindow.h"
#include "app/trip/TripMap.h"
#include "app/trip/TripRestore.h"
#include "base/AppState.h"
#include "base/SettingsFile.h"
#include "pictures/PictureList.h"
#include "session/TripSession.h"
#include "track/TimeText.h"

#include "tests/places/LocalHttpServer.h"
#include "tests/script/TestPictures.h"
#include "tests/support/GroundTile.h"
#include "tests/support/PrivateProgram.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <cmath>

#include <csignal>

// The trip window in the real program, driven as a user drives it: real pictures, the real
// map page, the mouse through the X server, the keyboard.
class TestTripWindow : public QObject {
    Q_OBJECT

    PrivateProgram m_program;
    QTemporaryDir m_pictures;
    // Busy, for the tiles' problem line; a plain ground for the README's screenshot.
    LocalHttpServer m_tiles{[](const QByteArray&) {
        if (!qEnvironmentVariableIsEmpty("KARTAVO_TRIP_SCREENSHOT"))
            return LocalHttpServer::Reply{200, "image/png", GroundTile(), {}};
        return LocalHttpServer::Reply{503, "text/plain", "busy", {}};
    }};
    std::unique_ptr<QWidget>& m_main = m_program.main;

    PicturesWindow* Window() { return PicturesWindowInstance(); }
    PictureList* List() { return Window()->Model(); }
    QTableView* Table() { return Window()->findChild<QTableView*>("pictureTable"); }
    QVariant Trip(const QString& script) { return EvalJs(Window()->Map()->View()->page(), script); }

    QByteArray MakePicture(const QString& name, const QStringList& tags = {},
                           const QString& folder = QString()) {
        const QString path = folder.isEmpty() ? m_pictures.filePath(name) : folder + '/' + name;
        if (!TestPictures::MakeJpeg(path))
            return {};
        if (!tags.isEmpty()) {
            QProcess exiftool;
            exiftool.start("exiftool",
                           QStringList{"-q", "-overwrite_original"} + tags + QStringList{path});
            if (!exiftool.waitForFinished(60000) || exiftool.exitCode() != 0)
                return {};
        }
        return QFile::encodeName(path);
    }

    QList<int> List(const QList<QByteArray>& paths) {
        Window()->AddPictures(paths);
        WaitUntil(
            [this] {
                for (int row = 0; row < List()->Count(); ++row)
                    if (!List()->IsRead(row))
                        return false;
                return !Window()->Batch().IsBusy();
            },
            60000);
        QList<int> rows;
        for (const QByteArray& path : paths)
            rows << List()->RowOf(path);
        return rows;
    }

    void SelectRows(const QList<int>& rows) {
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(Table()->model());
        Table()->clearSelection();
        for (int row : rows)
            Table()->selectionModel()->select(proxy->mapFromSource(List()->index(row, 0)),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }

    bool ViewTrip(double lat, double lon, int zoom) {
        Trip(QStringLiteral("TripView(%1, %2, %3)")
                 .arg(QString::number(lat, 'g', 17), QString::number(lon, 'g', 17))
                 .arg(zoom));
        return WaitUntil([&] {
            const auto c = Window()->Map()->Centre();
            return c && std::abs(c->latitude - lat) < 1e-9 && std::abs(c->longitude - lon) < 1e-9;
        });
    }

    // Real pointer input through the X server, as a user's hand gives it.
    bool Pointer(const QStringList& steps) {
        QProcess xdotool;
        xdotool.start("xdotool", steps);
        if (!xdotool.waitForStarted())
            return false;
        // The program answers the pointer meanwhile.
        return WaitUntil([&] { return xdotool.state() == QProcess::NotRunning; }, 20000) &&
               xdotool.exitCode() == 0;
    }

    void Answer(const QString& button) {
        QTimer::singleShot(0, this, [button] {
            QMessageBox* box = nullptr;
            WaitUntil([&] {
                box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                return box != nullptr;
            });
            auto* chosen = box ? box->findChild<QPushButton*>(button) : nullptr;
            QVERIFY2(chosen != nullptr, box ? qPrintable(box->text()) : "no question");
            chosen->click();
        });
    }

    // A walk of an hour from 09:00 UTC, the matching in UTC with a correction of nothing.
    void OpenWalk() {
        TracksWindow* tracks = Window()->Tracks();
        if (tracks->TrackCount() == 0) {
            QByteArray gpx =
                "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
                "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>walk</name><trkseg>";
            const QDateTime start(QDate(2024, 6, 15), QTime(9, 0), Qt::UTC);
            for (int i = 0; i <= 360; ++i)
                gpx += QStringLiteral("<trkpt lat=\"%1\" lon=\"8.5\"><time>%2</time></trkpt>")
                           .arg(47.0 + i * 0.0001, 0, 'f', 6)
                           .arg(start.addSecs(i * 10).toString(Qt::ISODate))
                           .toUtf8();
            gpx += "</trkseg></trk></gpx>\n";
            QFile file(m_pictures.filePath("walk.gpx"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(gpx) > 0);
            file.close();
            tracks->OpenFiles({file.fileName()});
            QVERIFY(
                WaitUntil([tracks] { return tracks->TrackCount() == 1 && !tracks->IsLoading(); }));
        }
        tracks->RestoreSettings({"UTC", 0, 60000});
    }

private slots:
    void initTestCase() {
        QVERIFY(m_pictures.isValid());
        QVERIFY(m_tiles.Listen());
        QVERIFY(m_program.Start("PicturesShow"));
        QSettings settings = OpenSettingsFile();
        settings.setValue("Map/TileUrl", QString::fromLatin1(m_tiles.Base() + "{z}/{x}/{y}.png"));
        settings.sync();
        QVERIFY(ShowPicturesWindow());
        QVERIFY(QTest::qWaitForWindowExposed(Window()));
        QVERIFY(WaitUntil([this] { return Window()->Map()->IsReady(); }, 20000));
    }

    void cleanupTestCase() { m_program.Stop(); }

    void init() {
        List()->removeRows(0, List()->Count());
        Window()->show();
    }

    // The first time, the trip window takes the free space beside the main window.
    void opensBesideTheMainWindow() {
        const QRect trip = Window()->frameGeometry();
        QVERIFY2(!trip.intersects(m_main->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                           .arg(trip.x())
                                                                           .arg(trip.y())
                                                                           .arg(trip.width())
                                                                           .arg(trip.height())));
        QVERIFY(trip.width() >= 600);
        QVERIFY(Window()->Map()->width() > Table()->width());
    }

    // A batch's progress row takes no room from the map: a map laid out anew at each start
    // and end of a read held the window up.
    void progressKeepsTheMapStill() {
        const QSize map = Window()->Map()->size();
        Window()->ShowProgress(QStringLiteral("Reading"), 0, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(Window()->findChild<QWidget*>("cancelBatch")->isVisible());
        QCOMPARE(Window()->Map()->size(), map);
        Window()->HideProgress();
    }

    void dragFromListPlaces() {
        const QList<int> rows = List({MakePicture("drag-a.jpg"), MakePicture("drag-b.jpg")});
        QVERIFY(ViewTrip(47.5, 8.25, 12));
        SelectRows(rows);
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(Table()->model());
        const QRect cell =
            Table()->visualRect(proxy->mapFromSource(List()->index(rows[0], PictureList::Name)));
        const QPoint from = Table()->viewport()->mapToGlobal(cell.center());
        TripMap* map = Window()->Map();
        const QPoint to = map->mapToGlobal(map->rect().center());
        // A pointer drag through the X server; the window system may drop the first one
        // while the window is still settling, so a second try is allowed.
        const auto drag = [&] {
            return Pointer({"mousemove",
                            "--sync",
                            QString::number(from.x()),
                            QString::number(from.y()),
                            "mousedown",
                            "1",
                            "sleep",
                            "0.3",
                            "mousemove",
                            QString::number(from.x() + 20),
                            QString::number(from.y()),
                            "sleep",
                            "0.3",
                            "mousemove",
                            QString::number((from.x() + to.x()) / 2),
                            QString::number((from.y() + to.y()) / 2),
                            "sleep",
                            "0.3",
                            "mousemove",
                            QString::number(to.x()),
                            QString::number(to.y()),
                            "sleep",
                            "0.4",
                            "mouseup",
                            "1"});
        };
        QVERIFY(drag());
        if (!WaitUntil([&] { return List()->HasNewPosition(rows[1]); }))
            QVERIFY(drag());
        QVERIFY(WaitUntil([&] { return List()->HasNewPosition(rows[1]); }, 10000));
        for (int row : rows) {
            const auto place = List()->NewPositionOf(row);
            QVERIFY(place);
            // Dropped on the middle of the map: its centre, to a pixel or so.
            QVERIFY2(
                std::abs(place->latitude - 47.5) < 0.001 &&
                    std::abs(place->longitude - 8.25) < 0.001,
                qPrintable(QStringLiteral("%1 %2").arg(place->latitude).arg(place->longitude)));
            QCOMPARE(place->how, QStringLiteral("placed on the map"));
        }
    }

    // Selecting a picture without a position moves neither the trip's map nor a waiting
    // position; Ctrl+M then gives it the map's centre.
    void selectingMovesNothing() {
        const QList<int> rows = List({MakePicture("sel-a.jpg"), MakePicture("sel-b.jpg")});
        QVERIFY(ViewTrip(10.5, 20.25, 11));
        SelectRows({rows[0]});
        QVERIFY(Window()->UseMapPosition());
        QVERIFY(ViewTrip(-3.5, 30.75, 11));
        SelectRows({rows[1]});
        Settle(600); // the selected picture is opened in the main window meanwhile
        QVERIFY(WaitUntil(
            [this, rows] { return QFile::encodeName(g_app.szPicture) == List()->Path(rows[1]); }));
        // Within a pixel (0.0007 degrees at this zoom): a map resized while the picture
        // opens keeps its centre only to the pixel.
        const auto centre = Window()->Map()->Centre();
        QVERIFY2(std::abs(centre->latitude + 3.5) < 0.0007 &&
                     std::abs(centre->longitude - 30.75) < 0.0007,
                 qPrintable(QStringLiteral("%1, %2").arg(centre->latitude).arg(centre->longitude)));
        QCOMPARE(List()->NewPositionOf(rows[0])->latitude, 10.5);
        QVERIFY(!List()->HasNewPosition(rows[1]));
        Table()->setFocus();
        QTest::keyClick(Table(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(List()->NewPositionOf(rows[1])->latitude, -3.5);
        QCOMPARE(List()->NewPositionOf(rows[0])->latitude, 10.5);
    }

    void closeAsks_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<bool>("waiting");
        QTest::addColumn<QString>("written");
        QTest::newRow("discard") << "leaveDiscard" << false << false << "";
        QTest::newRow("go back") << "leaveCancel" << true << true << "";
        QTest::newRow("write") << "leaveWrite" << false << false << "44.5";
    }

    void closeAsks() {
        QFETCH(QString, answer);
        QFETCH(bool, stays);
        QFETCH(bool, waiting);
        QFETCH(QString, written);
        const QByteArray path = MakePicture(QStringLiteral("close-%1.jpg").arg(answer));
        const QList<int> rows = List({path});
        Window()->PlacePictures({path}, 44.5, 11.25, "map");
        Answer(answer);
        Window()->close();
        QVERIFY(WaitUntil(
            [&] { return Window()->isVisible() == stays && !Window()->Batch().IsBusy(); }, 60000));
        QCOMPARE(List()->WaitingRows().size(), waiting ? 1 : 0);
        QProcess exiftool;
        exiftool.start("exiftool",
                       {"-n", "-s3", "-Composite:GPSLatitude", QFile::decodeName(path)});
        QVERIFY(exiftool.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed(), written);
    }

    // Run by killedComesBack in a second process: keeps a trip, says so, and waits to be
    // killed.
    void childKeepsTrip() {
        const QByteArray data = qgetenv("KARTAVO_TRIP_CHILD");
        if (data.isEmpty())
            QSKIP("only in the process killedComesBack starts");
        qputenv("XDG_DATA_HOME", data);
        const QString folder = QFile::decodeName(data);
        const QList<int> rows =
            List({MakePicture("kill-a.jpg", {}, folder), MakePicture("kill-b.jpg", {}, folder)});
        Window()->PlacePictures({List()->Path(rows[1])}, 12.5, -7.25, "map");
        QVERIFY(WaitUntil([] { return QFile::exists(SessionFilePath()); }, 10000));
        std::puts("kept");
        std::fflush(stdout);
        QTest::qWait(60000);
    }

    void killedComesBack() {
        QTemporaryDir data;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KARTAVO_TRIP_CHILD", data.path());
        // A web cache of its own: two engines cannot share one.
        environment.insert("XDG_CACHE_HOME", data.filePath("cache"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"childKeepsTrip"});
        QByteArray said;
        QVERIFY2(WaitUntil(
                     [&] {
                         said += child.readAllStandardOutput();
                         return said.contains("\nkept");
                     },
                     90000),
                 said.right(2000).constData());
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));

        const QByteArray own = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        OfferTripBack();
        QMessageBox* box = m_main->findChild<QMessageBox*>("tripBackQuestion");
        QVERIFY(box != nullptr);
        box->findChild<QPushButton*>("tripBringBack")->click();
        qputenv("XDG_DATA_HOME", own);
        QCOMPARE(List()->Count(), 2);
        const int row = List()->RowOf(QFile::encodeName(data.filePath("kill-b.jpg")));
        QVERIFY(row >= 0);
        const auto place = List()->NewPositionOf(row);
        QVERIFY(place);
        QCOMPARE(place->latitude, 12.5);
        QCOMPARE(place->longitude, -7.25);
        QCOMPARE(place->how, QStringLiteral("map"));
        QVERIFY(!List()->HasNewPosition(1 - row));
    }

    // The correction set by moving the pictures along the timeline is the one the match
    // dialog then shows, and the dialog's correction moves the ticks while it is typed.
    void timelineSetsTheCorrection() {
        OpenWalk();
        TracksWindow* tracks = Window()->Tracks();
        // Taken at 11:30 by a camera two hours ahead: outside the track until corrected.
        List({MakePicture(
            "clock.jpg", {"-DateTimeOriginal=2024:06:15 11:30:00", "-OffsetTimeOriginal=+00:00"})});
        Timeline* timeline = Window()->TimeStrip();
        QVERIFY(WaitUntil([timeline] { return timeline->UnmatchedCount() == 1; }));
        timeline->setFocus();
        QTest::keyClick(timeline, Qt::Key_Left, Qt::ControlModifier);
        QTest::keyClick(timeline, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(timeline->UnmatchedCount(), 0);
        QTest::keyClick(timeline, Qt::Key_Return);
        QCOMPARE(tracks->Settings().correctionMs, qint64(-7200000));
        QVERIFY(List()->HasNewPosition(0));

        QString shown;
        qint64 previewed = 0;
        QTimer::singleShot(0, this, [&] {
            QDialog* dialog = nullptr;
            WaitUntil([&] {
                dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                return dialog != nullptr;
            });
            auto* correction = dialog->findChild<QLineEdit*>("clockCorrection");
            shown = correction->text();
            correction->setText("-1:00:00");
            previewed = timeline->PendingShiftMs();
            dialog->reject();
        });
        m_main->findChild<QAction*>("matchToTrackMenu")->trigger();
        QCOMPARE(shown, FormatClockCorrection(-7200000));
        QCOMPARE(previewed, qint64(3600000));
        QCOMPARE(timeline->PendingShiftMs(), qint64(0));
    }

    // Each tick follows its row: a row removed takes its moment along, and a row read
    // again shows its new one.
    void timelineFollowsTheRows() {
        OpenWalk();
        const QList<int> rows = List(
            {MakePicture("inside.jpg",
                         {"-DateTimeOriginal=2024:06:15 09:10:00", "-OffsetTimeOriginal=+00:00"}),
             MakePicture("outside.jpg",
                         {"-DateTimeOriginal=2024:06:15 11:30:00", "-OffsetTimeOriginal=+00:00"})});
        Timeline* timeline = Window()->TimeStrip();
        QVERIFY(WaitUntil([timeline] { return timeline->UnmatchedCount() == 1; }));
        List()->removeRows(rows[0], 1);
        Settle(300);
        QCOMPARE(timeline->UnmatchedCount(), 1);
        PictureRead info = List()->Info(0);
        info.dateTime = QStringLiteral("2024:06:15 09:20:00");
        List()->SetInfo(0, info);
        QVERIFY(WaitUntil([timeline] { return timeline->UnmatchedCount() == 0; }));
    }

    // By hand: the trip window with a track, matched pictures and one outside the track's
    // time, for the README (KARTAVO_TRIP_SCREENSHOT=FILE).
    void screenshotByHand() {
        const QString out = qEnvironmentVariable("KARTAVO_TRIP_SCREENSHOT");
        if (out.isEmpty())
            QSKIP("only by hand");
        OpenWalk();
        TracksWindow* tracks = Window()->Tracks();
        QList<QByteArray> paths;
        for (int i = 0; i < 9; ++i) {
            const QString when =
                i == 8
                    ? QStringLiteral("2024:06:15 10:40:00")
                    : QStringLiteral("2024:06:15 09:%1:00").arg(4 + i * 7, 2, 10, QLatin1Char('0'));
            paths << MakePicture(QStringLiteral("IMG_%1.jpg").arg(4120 + i),
                                 {"-DateTimeOriginal=" + when, "-OffsetTimeOriginal=+00:00"});
        }
        List(paths);
        tracks->Match(tracks->CurrentSettings(), false);
        Window()->setGeometry(8, 30, 1264, 760);
        Window()->SelectRow(3);
        Settle(3000);
        Window()->raise();
        Settle(500);
        QVERIFY(QGuiApplication::primaryScreen()
                    ->grabWindow(0)
                    .copy(Window()->frameGeometry())
                    .save(out));
    }

    void saysWhyTilesDoNotLoad() {
        QVERIFY(
            WaitForJs(Window()->Map()->View()->page(),
                      "document.getElementById('tiles_problem').textContent.indexOf('503') >= 0",
                      true, 20000));
    }

    // Each menu's letters lead to one entry, and the common commands have shortcuts.
    void keyboardReachesEverything() {
        for (QAction* top : m_main->findChild<QMenuBar*>("menuBar")->actions()) {
            QSet<QChar> letters;
            for (QAction* entry : top->menu()->actions()) {
                const int amp = entry->text().indexOf('&');
                if (amp < 0 || entry->isSeparator())
                    continue;
                const QChar letter = entry->text().at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(entry->text()));
                letters.insert(letter);
            }
        }
        for (const char* name :
             {"openPictures", "openFolder", "openTrack", "matchToTrackMenu", "writeWaitingMenu",
              "undoLastWrite", "actionFindPlace", "useMapPositionMenu"})
            QVERIFY2(!m_main->findChild<QAction*>(name)->shortcut().isEmpty(), name);
        // Typing a name in the list goes to it.
        List({MakePicture("apple.jpg"), MakePicture("cherry.jpg")});
        Table()->setFocus();
        QTest::keyClicks(Table(), "ch");
        QCOMPARE(Table()->currentIndex().data().toString(), QStringLiteral("cherry.jpg"));
    }
};

QTEST_MAIN(TestTripWindow)
#include "test_trip_window.moc"
