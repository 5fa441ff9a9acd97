#include "app/NetworkState.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"
#include "webview/PhotoPage.h"

#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

// The map view and the photo view in the real window: the network answer is the test's
// own, the settings live in a temporary folder, and no tile is ever fetched.
class TestMapView : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_pictures;
    std::unique_ptr<QWidget> m_main;
    bool m_bNetwork = false;

    QWebEnginePage* MapPage() { return g_app.pMapView->View()->page(); }
    QWebEnginePage* PhotoPage() { return g_app.pPhotoView->View()->page(); }
    QVariant Map(const char* script) { return EvalJs(MapPage(), QString::fromLatin1(script)); }

    template <typename T> T* Find(const char* name) {
        return m_main->findChild<T*>(QString::fromLatin1(name));
    }

    void Stop() {
        if (m_main)
            StopKartavo(std::move(m_main));
    }

    bool PageLoaded(CWebBrowser* browser, const QString& page) {
        return WaitUntil([&] { return browser->GetDocument().url.path() == page; });
    }

    void SetFields(const QString& latitude, const QString& longitude) {
        g_app.wndLatitude->setText(latitude);
        g_app.wndLongitude->setText(longitude);
    }

    // Centres the map from the page itself and waits for its title.
    bool MapAt(const char* setCenter, const QString& title) {
        g_app.pMapView->ExecScript(setCenter);
        const bool moved =
            WaitUntil([&] { return g_app.pMapView->m_strTitle.value_or(QString()) == title; });
        QCoreApplication::processEvents(); // the title message is queued behind the title
        return moved;
    }

    void Click(const char* button) { Find<QPushButton>(button)->click(); }

    // A JPEG of its own width, so that the page can tell which picture it shows.
    QString MakePicture(const QString& relativePath, int width) {
        const QString path = m_pictures.filePath(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QImage image(width, 100, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        return image.save(path, "JPEG") ? path : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid() && m_pictures.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        SetNetworkStateProvider([this] { return m_bNetwork; });
    }

    void cleanupTestCase() { Stop(); }

    // --- Without a network ---

    void moveToPointBeforeTheTimerDoesNothing() {
        m_bNetwork = true;
        TraceCapture trace;
        m_main = StartKartavo();
        Click("moveToPoint"); // the start-up timer has not run yet
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")), QStringList());
        Stop();
    }

    void offlineShowsThePlaceholder() {
        m_bNetwork = false;
        m_main = StartKartavo();
        QVERIFY(PageLoaded(g_app.pMapView.get(), QStringLiteral("/default.htm")));
        QCOMPARE(g_app.bOnline, 0);
        QVERIFY(WaitForJs(MapPage(),
                          QStringLiteral("document.getElementById('photo').naturalWidth"), 578));
        QCOMPARE(Map("document.title").toString(), QStringLiteral("Kartavo"));
        QCOMPARE(Map("getComputedStyle(document.body).overflow").toString(),
                 QStringLiteral("hidden"));
    }

    void offlineMoveToPointDoesNothingAndZoomIsHarmless() {
        TraceCapture trace;
        Click("moveToPoint");
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")), QStringList());

        auto* zoom = Find<QComboBox>("zoom");
        QTest::keyClick(zoom, Qt::Key_End);
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")),
                 QStringList({"# SetCenter(37.562159,126.97335,18)"}));
        // The placeholder has no SetCenter: the script fails inside the page, nothing else.
        Settle(200);
        QCOMPARE(Map("document.title + ' ' + document.images.length + ' ' + typeof map").toString(),
                 QStringLiteral("Kartavo 1 undefined"));
        QCOMPARE(g_app.pMapView->m_strTitle.value_or(QString()), QStringLiteral("Kartavo"));
        QCOMPARE(g_app.wndLatitude->text(), QStringLiteral("37.562159"));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("126.97335"));
        Stop();
    }

    // --- With a network (the tiles themselves are never fetched) ---

    void pictureDroppedAtStartIsReadAndShown() {
        m_bNetwork = true;
        m_main = StartKartavo();
        // Before the window is on screen: neither page has started yet.
        const QString file = MakePicture(QStringLiteral("at start.jpg"), 96);
        QWidget* image = g_app.wndImage;
        QVERIFY(
            OfferDrop(m_main.get(), image->mapTo(m_main.get(), image->rect().center()), {file}));
        QVERIFY(WaitUntil([] {
            return !g_app.wndInfo->toPlainText().contains("Drag-drop") && !g_app.pRunner->IsBusy();
        }));
        QVERIFY2(g_app.wndInfo->toPlainText().contains("has no GPS information"),
                 qPrintable(g_app.wndInfo->toPlainText()));
        QVERIFY(WaitForJs(PhotoPage(), QStringLiteral("document.getElementById('photo').src"),
                          QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)));
        QVERIFY(PageLoaded(g_app.pMapView.get(), QStringLiteral("/map.htm")));
        Stop();
    }

    void mapPageLoadsItsOwnLeaflet() {
        m_bNetwork = true;
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(PageLoaded(g_app.pMapView.get(), QStringLiteral("/map.htm")));
        QCOMPARE(g_app.bOnline, 1);
        QVERIFY(
            WaitForJs(MapPage(), QStringLiteral("typeof map === 'object' && map !== null"), true));
        QCOMPARE(Map("typeof L").toString(), QStringLiteral("object"));
        QCOMPARE(Map("document.title").toString(), QStringLiteral("Kartavo"));
        QCOMPARE(Map("map.getZoom()").toInt(), 12);
        QCOMPARE(Map("map.getCenter().lat").toDouble(), 37.562159);
        QCOMPARE(Map("map.getCenter().lng").toDouble(), 126.97335);
        QCOMPARE(Map("markers.getLayers().length").toInt(), 1);
        // The marker picture is found beside the built-in style sheet.
        QVERIFY(WaitForJs(MapPage(),
                          QStringLiteral("var i = document.querySelector('.leaflet-marker-icon');"
                                         "i.complete && i.naturalWidth"),
                          25));
        QCOMPARE(Map("document.querySelectorAll('.leaflet-control-zoom-in').length").toInt(), 1);
        QVERIFY(Map("document.querySelector('.leaflet-control-attribution').textContent")
                    .toString()
                    .contains(QStringLiteral("© OpenStreetMap contributors")));
        QCOMPARE(Map("getComputedStyle(document.body).overflow").toString(),
                 QStringLiteral("hidden"));
        QCOMPARE(Map("document.getElementById('map_canvas').offsetWidth + 'x' + "
                     "document.getElementById('map_canvas').offsetHeight")
                     .toString(),
                 QStringLiteral("560x360"));
        QCOMPARE(g_app.pMapView->View()->geometry(), g_app.wndMapHost->contentsRect());
    }

    // The views draw in software: what reaches the screen is the page, its tile-less grey
    // and the blue marker, not an empty box.
    void mapIsOnTheScreen() {
        QWidget* view = g_app.pMapView->View();
        const QRect box(view->mapTo(m_main.get(), QPoint(0, 0)), view->size());
        int pixels = 0, grey = 0, blue = 0;
        const bool drawn = WaitUntil([&] {
            const QImage screen = m_main->screen()->grabWindow(m_main->winId()).toImage();
            pixels = grey = blue = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x, ++pixels) {
                    const QColor pixel = screen.pixelColor(x, y);
                    grey += pixel == QColor(221, 221, 221);
                    blue += pixel.blue() > pixel.red() + 80;
                }
            return grey * 2 > pixels && blue > 100;
        });
        QVERIFY2(drawn, qPrintable(QStringLiteral("grey %1, blue %2").arg(grey).arg(blue)));
    }

    // The pages are served under a host made of the program file's name: a name that is no
    // valid host ("kar tavo#%") must still load them. This suite's own copy under such a
    // name runs the test above.
    void pagesLoadWhateverTheProgramIsCalled() {
        QTemporaryDir folder;
        const QString copy = folder.filePath(QStringLiteral("kar tavo#%"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(copy, {QStringLiteral("mapPageLoadsItsOwnLeaflet")});
        QVERIFY(run.waitForFinished(120000));
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 run.readAll().constData());
    }

    void setCenterMovesTheMapAndFillsTheFields() {
        SetFields(QStringLiteral("1"), QStringLiteral("2"));
        QVERIFY(MapAt("SetCenter(37.5,127.0,18)", QStringLiteral("(37.5, 127)")));
        QCOMPARE(Map("map.getZoom()").toInt(), 18);
        QCOMPARE(Map("map.getCenter().lat + ',' + map.getCenter().lng").toString(),
                 QStringLiteral("37.5,127"));
        QCOMPARE(Map("document.querySelectorAll('.leaflet-marker-icon').length").toInt(), 1);
        QCOMPARE(Map("var p = markers.getLayers()[0].getLatLng(); p.lat + ',' + p.lng").toString(),
                 QStringLiteral("37.5,127"));
        QVERIFY(WaitUntil([&] { return g_app.wndLatitude->text() == QStringLiteral("37.5"); }));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("127"));
    }

    void centreBeyondTheDateLineReadsAsALongitude() {
        QVERIFY(MapAt("SetCenter(10,190,5)", QStringLiteral("(10, -170)")));
        QVERIFY(WaitUntil([&] { return g_app.wndLongitude->text() == QStringLiteral("-170"); }));
        // The marker stays where the map shows it.
        QCOMPARE(Map("markers.getLayers()[0].getLatLng().lng").toInt(), 190);
    }

    void moveToPointRunsTheFieldsPosition() {
        TraceCapture trace;
        SetFields(QStringLiteral("37.562159"), QStringLiteral("126.97335"));
        Find<QComboBox>("zoom")->setCurrentIndex(11);
        Click("moveToPoint");
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")),
                 QStringList({"# SetCenter(37.562159,126.97335,12)"}));
        QVERIFY(WaitForJs(MapPage(), QStringLiteral("map.getZoom()"), 12));
        QCOMPARE(Map("map.getCenter().lat + ',' + map.getCenter().lng").toString(),
                 QStringLiteral("37.562159,126.97335"));
        QCOMPARE(Map("markers.getLayers().length").toInt(), 1);
        QVERIFY(WaitUntil([&] {
            return g_app.pMapView->m_strTitle.value_or(QString()) ==
                   QStringLiteral("(37.562159, 126.97335)");
        }));
    }

    void zoomListEndsGiveOneAndEighteen_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("zoom");
        QTest::newRow("first item") << int(Qt::Key_Home) << 1;
        QTest::newRow("last item") << int(Qt::Key_End) << 18;
    }

    void zoomListEndsGiveOneAndEighteen() {
        QFETCH(int, key);
        QFETCH(int, zoom);
        TraceCapture trace;
        QTest::keyClick(Find<QComboBox>("zoom"), Qt::Key(key));
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")),
                 QStringList({QStringLiteral("# SetCenter(37.562159,126.97335,%1)").arg(zoom)}));
        QVERIFY(WaitForJs(MapPage(), QStringLiteral("map.getZoom()"), zoom));
        QCOMPARE(Map("markers.getLayers().length").toInt(), 1);
    }

    void fieldsThatAreNotNumbersRunNothing_data() {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("longitude");
        QTest::newRow("decimal comma") << "37,5"
                                       << "127";
        QTest::newRow("exponent without digits") << "1e"
                                                 << "127";
        QTest::newRow("script") << "alert(1)"
                                << "127";
        QTest::newRow("hex") << "0x10"
                             << "127";
        QTest::newRow("infinity") << "37.5"
                                  << "inf";
        QTest::newRow("empty") << ""
                               << "127";
        QTest::newRow("trailing script") << "37.5"
                                         << "127);alert(1)//";
        QTest::newRow("blank inside") << "37. 5"
                                      << "127";
    }

    void fieldsThatAreNotNumbersRunNothing() {
        QFETCH(QString, latitude);
        QFETCH(QString, longitude);
        QVERIFY(MapAt("SetCenter(10,20,5)", QStringLiteral("(10, 20)")));
        TraceCapture trace;
        SetFields(latitude, longitude);
        Click("moveToPoint");
        QTest::keyClick(Find<QComboBox>("zoom"), Qt::Key_Home);
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")), QStringList());
        Settle(100);
        QCOMPARE(
            Map("map.getZoom() + ' ' + map.getCenter().lat + ' ' + map.getCenter().lng").toString(),
            QStringLiteral("5 10 20"));
        QCOMPARE(g_app.wndLatitude->text(), latitude);
    }

    void numbersMeanWhatWasTyped_data() {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("script");
        QTest::addColumn<double>("centre");
        // "012" is octal 10 to a script, and "012.5" no number at all.
        QTest::newRow("leading zero") << "012"
                                      << "SetCenter(12,20,1)" << 12.0;
        QTest::newRow("leading zeros, sign, fraction") << "-012.50"
                                                       << "SetCenter(-12.50,20,1)" << -12.5;
        QTest::newRow("zero before the point") << "00.5"
                                               << "SetCenter(0.5,20,1)" << 0.5;
        QTest::newRow("zero") << "0"
                              << "SetCenter(0,20,1)" << 0.0;
        QTest::newRow("plus and exponent") << "+1.5e1"
                                           << "SetCenter(+1.5e1,20,1)" << 15.0;
        QTest::newRow("only a fraction") << ".25"
                                         << "SetCenter(.25,20,1)" << 0.25;
    }

    void numbersMeanWhatWasTyped() {
        QFETCH(QString, latitude);
        QFETCH(QString, script);
        QFETCH(double, centre);
        QVERIFY(MapAt("SetCenter(50,30,3)", QStringLiteral("(50, 30)")));
        TraceCapture trace;
        SetFields(latitude, QStringLiteral("20"));
        Find<QComboBox>("zoom")->setCurrentIndex(0);
        Click("moveToPoint");
        QCOMPARE(trace.StartingWith(QStringLiteral("# SetCenter")), QStringList({"# " + script}));
        QVERIFY(WaitForJs(MapPage(), QStringLiteral("map.getZoom()"), 1));
        QCOMPARE(Map("map.getCenter().lat").toDouble(), centre);
    }

    void photoTitleChangeMakesTheFieldsFollowTheMap() {
        QVERIFY(MapAt("SetCenter(37.5,127.0,18)", QStringLiteral("(37.5, 127)")));
        QVERIFY(WaitUntil([&] { return g_app.wndLatitude->text() == QStringLiteral("37.5"); }));
        SetFields(QStringLiteral("1"), QStringLiteral("2"));
        g_app.pPhotoView->ExecScript("document.title = 'a picture'");
        QVERIFY(WaitUntil([&] { return g_app.wndLatitude->text() == QStringLiteral("37.5"); }));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("127"));
        QCOMPARE(g_app.pPhotoView->m_strTitle.value_or(QString()), QStringLiteral("a picture"));
    }

    void showPhotoShowsAwkwardNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "plain.jpg";
        QTest::newRow("blank") << "with blank.jpg";
        QTest::newRow("apostrophe") << "it's mine.jpg";
        QTest::newRow("hash") << "holiday #1.jpg";
        QTest::newRow("percent") << "100% sun.jpg";
        QTest::newRow("percent and digits") << "a%41b.jpg";
        QTest::newRow("non-ASCII") << QString::fromUtf8("Zürich 写真.jpg");
        QTest::newRow("script in the name") << "x');window.injected=1;//.jpg";
        QTest::newRow("quote and backslash") << "say \"hi\" \\ there.jpg";
        QTest::newRow("question mark") << "what?.jpg";
        QTest::newRow("longer than 423")
            << QString(200, QLatin1Char('d')) + "/" + QString(200, QLatin1Char('e')) + "/photo.jpg";
    }

    void showPhotoShowsAwkwardNames() {
        QFETCH(QString, name);
        static int row = 0;
        const int width = 301 + row++; // each row's own picture
        const QString path = MakePicture(name, width);
        QVERIFY(!path.isEmpty());
        QVERIFY(PageLoaded(g_app.pPhotoView.get(), QStringLiteral("/photo.htm")));
        ShowPhoto(path.toUtf8().constData());
        QVERIFY2(WaitForJs(PhotoPage(),
                           QStringLiteral("var p = document.getElementById('photo');"
                                          "p.complete && p.naturalWidth"),
                           width),
                 qPrintable(path));
        QCOMPARE(
            EvalJs(PhotoPage(), QStringLiteral("document.getElementById('photo').src")).toString(),
            QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
        QCOMPARE(
            EvalJs(PhotoPage(), QStringLiteral("document.getElementById('photo').width")).toInt(),
            240);
        QCOMPARE(EvalJs(PhotoPage(), QStringLiteral("typeof window.injected")).toString(),
                 QStringLiteral("undefined"));
    }

    void photoPageShowsTheSampleFirst() {
        // A fresh photo page, as at start-up.
        QVERIFY(g_app.pPhotoView->NavigateResource("photo.htm"));
        Settle(50);
        QVERIFY(PageLoaded(g_app.pPhotoView.get(), QStringLiteral("/photo.htm")));
        QVERIFY(WaitForJs(PhotoPage(),
                          QStringLiteral("var p = document.getElementById('photo');"
                                         "p.complete && p.naturalWidth + 'x' + p.width + 'x' + "
                                         "p.height"),
                          QStringLiteral("320x240x166")));
    }

    void dropOnThePhotoViewIsTheImageWindows() {
        QWidget* image = g_app.wndImage;
        const QPoint centre = image->mapTo(m_main.get(), image->rect().center());
        // The point lies on the web view, not on the image window's own frame.
        QWidget* under = m_main->childAt(centre);
        QVERIFY(under && under != image);
        QVERIFY(g_app.pPhotoView->View()->isAncestorOf(under) || under == g_app.pPhotoView->View());

        g_app.szPicture[0] = '\0';
        const QString file = MakePicture(QStringLiteral("dropped.jpg"), 80);
        QVERIFY(OfferDrop(m_main.get(), centre, {file}));
        QCOMPARE(QString::fromUtf8(g_app.szPicture), file);

        // The map view takes no drop.
        g_app.szPicture[0] = '\0';
        QWidget* map = g_app.wndMapHost;
        QVERIFY(!OfferDrop(m_main.get(), map->mapTo(m_main.get(), map->rect().center()), {file}));
        QCOMPARE(g_app.szPicture[0], '\0');
    }

    void positionSavedOnCloseIsTheMapTitle() {
        QVERIFY(MapAt("SetCenter(35.25,139.5,9)", QStringLiteral("(35.25, 139.5)")));
        QTimer::singleShot(0, m_main.get(), [this] { m_main->close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QSettings raw(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
        QCOMPARE(raw.value("Kartavo/Position").toString(), QStringLiteral("(35.25, 139.5)"));
        Stop();
    }
};

QTEST_MAIN(TestMapView)
#include "test_map_view.moc"
