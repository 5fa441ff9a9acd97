#include "app/FindPlaceBox.h"
#include "app/NetworkState.h"
#include "app/PlacesDialog.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "places/PlacesSettings.h"
#include "places/SavedPlaces.h"
#include "webview/CWebBrowser.h"

#include "tests/places/LocalHttpServer.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

void EmitNetworkChanged(); // network_signal.cpp

// The real window and map page; tiles and the place search come from local servers on
// 127.0.0.1 named in the real settings file, and the web cache lives in a temporary folder.
class TestFindPlace : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<QWidget> m_main;
    bool m_bNetwork = true;
    QByteArray m_tile;
    LocalHttpServer m_tiles{[this](const QByteArray&) {
        return LocalHttpServer::Reply{200, "image/png", m_tile,
                                      "Cache-Control: public, max-age=86400\r\n"};
    }};
    LocalHttpServer m_search{[](const QByteArray&) {
        return LocalHttpServer::Reply{
            200,
            "application/json",
            R"([{"lat":"48.8582599","lon":"2.2945006","name":"Tour Eiffel",)"
            R"("display_name":"Tour Eiffel, Avenue Gustave Eiffel, Paris, France",)"
            R"("boundingbox":["48.8574753","48.8590453","2.2933119","2.2956897"]}])",
            {}};
    }};

    QWebEnginePage* MapPage() { return g_app.pMapView->View()->page(); }
    QVariant Map(const QString& script) { return EvalJs(MapPage(), script); }

    void Start() {
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(WaitUntil([] { return g_app.pMapView->GetDocument().url.path() == "/map.htm"; }));
        QVERIFY(
            WaitForJs(MapPage(), QStringLiteral("typeof map === 'object' && map !== null"), true));
    }

    void Stop() {
        if (m_main)
            StopKartavo(std::move(m_main));
    }

    QAction* Action(const char* name) {
        return m_main->findChild<QAction*>(QString::fromLatin1(name));
    }

    // Tiles drawn in the page from the local server's picture.
    int TilesShown() {
        return Map(QStringLiteral(
                       "Array.from(document.querySelectorAll('img.leaflet-tile')).filter("
                       "function (t) { return t.complete && t.naturalWidth === 256; }).length"))
            .toInt();
    }

    // Answers the next modal text dialog with text.
    void AnswerNextInput(const QString& text) {
        QTimer::singleShot(300, this, [text] {
            auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(input);
            input->setTextValue(text);
            input->accept();
        });
    }

private slots:
    void initTestCase() {
        QVERIFY(m_home.isValid());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
            const QString path = m_home.filePath(QString::fromLatin1(name));
            QVERIFY(QDir().mkpath(path));
            qputenv(name, path.toUtf8());
        }
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        QBuffer png(&m_tile);
        QVERIFY(png.open(QIODevice::WriteOnly) && image.save(&png, "PNG"));
        QVERIFY(m_tiles.Listen() && m_search.Listen());
        QSettings settings = OpenPlacesSettings();
        settings.setValue("Map/TileUrl", QString::fromLatin1(m_tiles.Base() + "{z}/{x}/{y}.png"));
        settings.setValue("Search/NominatimUrl", QString::fromLatin1(m_search.Base()));
        settings.sync();
        SetNetworkStateProvider([this] { return m_bNetwork; });
    }

    void cleanup() { Stop(); }

    void clickOnTheMapMovesTheCentre() {
        Start();
        Map(QStringLiteral("SetCenter(48.8584, 2.2945, 12)"));
        QTRY_COMPARE(g_app.wndLatitude->text(), QStringLiteral("48.8584"));
        // 100 pixels right of and 50 above the centre of the map.
        const QPoint centre(280, 180);
        const QPoint target = centre + QPoint(100, -50);
        const QVariantList expected =
            Map(QStringLiteral("var p = map.containerPointToLatLng([%1, %2]); [p.lat, p.lng]")
                    .arg(target.x())
                    .arg(target.y()))
                .toList();
        QCOMPARE(expected.size(), 2);
        QWidget* surface = g_app.pMapView->View()->focusProxy();
        QVERIFY(surface);
        QTest::mouseClick(surface, Qt::LeftButton, {}, target);
        QVERIFY(WaitUntil([&] {
            return qAbs(g_app.wndLatitude->text().toDouble() - expected[0].toDouble()) < 1e-6 &&
                   qAbs(g_app.wndLongitude->text().toDouble() - expected[1].toDouble()) < 1e-6;
        }));
        QCOMPARE(Map(QStringLiteral("map.getZoom()")).toInt(), 12);
        QCOMPARE(Map(QStringLiteral("document.querySelectorAll('.leaflet-control-scale').length"))
                     .toInt(),
                 1);
    }

    void rightClickCopiesThePointsCoordinates() {
        Start();
        Map(QStringLiteral("SetCenter(48.8584, 2.2945, 12)"));
        QGuiApplication::clipboard()->clear();
        QWidget* surface = g_app.pMapView->View()->focusProxy();
        const QPoint point(200, 250);
        const QString expected =
            Map(QStringLiteral("PlacesCoordinatesText(map.containerPointToLatLng([%1, %2]))")
                    .arg(point.x())
                    .arg(point.y()))
                .toString();
        QTest::mouseClick(surface, Qt::RightButton, {}, point);
        QVERIFY(
            WaitForJs(MapPage(), QStringLiteral("!!document.querySelector('.places-copy')"), true));
        const QVariantList button =
            Map(QStringLiteral(
                    "var r = document.querySelector('.places-copy')"
                    ".getBoundingClientRect(); [r.left + r.width / 2, r.top + r.height / 2]"))
                .toList();
        QCOMPARE(button.size(), 2);
        QTest::mouseClick(surface, Qt::LeftButton, {},
                          QPoint(button[0].toInt(), button[1].toInt()));
        QVERIFY(WaitUntil([&] { return QGuiApplication::clipboard()->text() == expected; }));
        // The click on the menu's button is no click on the map.
        QCOMPARE(g_app.wndLatitude->text(), QStringLiteral("48.8584"));
    }

    void tilesShowAgainFromTheDiskCache() {
        Start();
        QVERIFY(WaitUntil([&] { return TilesShown() > 0; }, 10000));
        QVERIFY(!m_tiles.requests.isEmpty());
        Stop();
        // The tile's bytes are in a file under the user's cache folder.
        const QString cache = QString::fromUtf8(qgetenv("XDG_CACHE_HOME"));
        bool cached = false;
        QVERIFY(WaitUntil(
            [&] {
                for (QDirIterator it(cache, QDir::Files, QDirIterator::Subdirectories);
                     it.hasNext();) {
                    QFile file(it.next());
                    if (file.open(QIODevice::ReadOnly) && file.readAll().contains(m_tile))
                        cached = true;
                }
                return cached;
            },
            10000));

        m_tiles.Close();
        const qsizetype asked = m_tiles.requests.size();
        Start();
        QVERIFY(WaitUntil([&] { return TilesShown() > 0; }, 10000));
        QCOMPARE(m_tiles.requests.size(), asked);
        QVERIFY(m_tiles.Listen(m_tiles.Port()));
    }

    void networkSearchAsksOncePerEnter() {
        Start();
        Action("actionFindPlace")->trigger();
        auto* query = m_main->findChild<QLineEdit*>(QStringLiteral("findPlaceQuery"));
        auto* results = m_main->findChild<QListWidget*>(QStringLiteral("findPlaceResults"));
        auto* status = m_main->findChild<QLabel*>(QStringLiteral("findPlaceStatus"));
        QVERIFY(query && results && status && query->isVisible());

        QTest::keyClicks(query, QStringLiteral("Paris"));
        QVERIFY(WaitUntil([&] { return results->count() > 0; }));
        QVERIFY(results->item(0)->text().startsWith(QStringLiteral("Paris\n")));
        QVERIFY(results->item(0)->text().contains(QStringLiteral("France")));
        Settle(300);
        QCOMPARE(m_search.requests.size(), 0); // never per keystroke

        QTest::keyClick(query, Qt::Key_Return);
        QVERIFY(WaitUntil([&] { return status->text().contains("OpenStreetMap contributors"); }));
        QCOMPARE(m_search.requests.size(), 1);
        QVERIFY(m_search.requests[0].target.startsWith("/search?q=Paris"));
        QVERIFY(m_search.requests[0].headers.contains("User-Agent: Kartavo/" KARTAVO_VERSION));
        QVERIFY(results->item(results->count() - 1)->text().startsWith("Tour Eiffel"));

        // The same query again comes from the session's memory.
        QTest::keyClick(query, Qt::Key_Return);
        Settle(300);
        QCOMPARE(m_search.requests.size(), 1);

        // A new query waits until a second has passed since the last request.
        QTest::keyClicks(query, QStringLiteral(" Tower"));
        QTest::keyClick(query, Qt::Key_Return);
        QVERIFY(WaitUntil([&] { return m_search.requests.size() == 2; }));
        QVERIFY(m_search.requests[1].atMs - m_search.requests[0].atMs >= 990);
        // Its answer is listed before one is chosen.
        QVERIFY(WaitUntil([&] { return status->text().contains("OpenStreetMap contributors"); }));

        // Choosing the result moves the map; the fields follow.
        results->setCurrentRow(results->count() - 1);
        QTest::keyClick(results, Qt::Key_Return);
        QTRY_COMPARE(g_app.wndLatitude->text(), QStringLiteral("48.8582599"));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("2.2945006"));
        QVERIFY(!query->isVisible());
    }

    // Saved places come first; the arrows pick a result and Enter takes it without asking
    // the network; a pasted map link sets its zoom too.
    void enterTakesThePickedResult() {
        QVERIFY(WriteSavedPlaces({{"Grandma's garden", 46.2044, 6.1432, 16}}));
        Start();
        Action("actionFindPlace")->trigger();
        auto* query = m_main->findChild<QLineEdit*>(QStringLiteral("findPlaceQuery"));
        auto* results = m_main->findChild<QListWidget*>(QStringLiteral("findPlaceResults"));
        const qsizetype asked = m_search.requests.size();
        QTest::keyClicks(query, QStringLiteral("grandma"));
        QVERIFY(WaitUntil([&] { return results->count() > 0; }));
        QCOMPARE(results->item(0)->text(), QStringLiteral("Grandma's garden\nSaved place"));
        QTest::keyClick(query, Qt::Key_Down);
        QTest::keyClick(query, Qt::Key_Return);
        QTRY_COMPARE(g_app.wndLatitude->text(), QStringLiteral("46.2044"));
        QCOMPARE(m_search.requests.size(), asked);
        auto* zoom = m_main->findChild<QComboBox*>(QStringLiteral("zoom"));

        g_app.wndLatitude->selectAll();
        QApplication::clipboard()->setText("https://www.openstreetmap.org/#map=9/48.85837/2.29448");
        g_app.wndLatitude->paste();
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("2.29448"));
        QCOMPARE(zoom->currentIndex(), 8);
        QVERIFY(WriteSavedPlaces({}));
    }

    void searchErrorIsShownAndEscapeCancels() {
        Start();
        Action("actionFindPlace")->trigger();
        auto* box = m_main->findChild<FindPlaceBox*>();
        QVERIFY(box);
        box->Network().SetBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:1/")));
        auto* query = m_main->findChild<QLineEdit*>(QStringLiteral("findPlaceQuery"));
        auto* status = m_main->findChild<QLabel*>(QStringLiteral("findPlaceStatus"));
        QTest::keyClicks(query, QStringLiteral("Nowhere at all"));
        QTest::keyClick(query, Qt::Key_Return);
        QVERIFY(WaitUntil([&] { return status->text().contains("search failed"); }));

        QTest::keyClick(query, Qt::Key_Return);
        QTest::keyClick(query, Qt::Key_Escape);
        QCOMPARE(status->text(), QStringLiteral("Search cancelled."));
        QVERIFY(!box->Network().IsBusy());
        QTest::keyClick(query, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
    }

    // A server that never stops sending, or trickles, is cut off and the box says why.
    void endlessAnswerIsCutOff_data() {
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<int>("limitMs");
        QTest::addColumn<QString>("reason");
        QTest::newRow("floods") << 0 << 15000 << "larger than 4 MiB";
        QTest::newRow("trickles") << 50 << 1500 << "within 1.5 s";
    }

    void endlessAnswerIsCutOff() {
        QFETCH(int, gapMs);
        QFETCH(int, limitMs);
        QFETCH(QString, reason);
        LocalHttpServer endless{[gapMs](const QByteArray&) {
            LocalHttpServer::Reply reply{
                200, "application/json", "[" + QByteArray(64 * 1024, ' '), {}};
            reply.endless = true;
            reply.gapMs = gapMs;
            return reply;
        }};
        QVERIFY(endless.Listen());
        Start();
        Action("actionFindPlace")->trigger();
        auto* box = m_main->findChild<FindPlaceBox*>();
        box->Network().SetBaseUrl(QUrl(QString::fromLatin1(endless.Base())));
        box->Network().SetLimits({4 * 1024 * 1024, limitMs});
        auto* query = m_main->findChild<QLineEdit*>(QStringLiteral("findPlaceQuery"));
        auto* status = m_main->findChild<QLabel*>(QStringLiteral("findPlaceStatus"));
        QTest::keyClicks(query, QStringLiteral("Endless %1").arg(gapMs));
        QTest::keyClick(query, Qt::Key_Return);
        QVERIFY(WaitUntil([&] { return status->text().contains("search failed"); }, 8000));
        QVERIFY2(status->text().contains(reason), qPrintable(status->text()));
        QVERIFY(!box->Network().IsBusy());
    }

    void savedPlacesSurviveARestart() {
        Start();
        Map(QStringLiteral("SetCenter(-33.8568, 151.2153, 14)"));
        AnswerNextInput(QStringLiteral("Opera House"));
        Action("actionSavePlace")->trigger();
        QVERIFY(WaitUntil([] { return !ReadSavedPlaces().empty(); }));
        // Closing saves the window's own settings and ends the event loop.
        QTimer::singleShot(0, m_main.get(), [this] { m_main->close(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        Stop();

        QSettings raw(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
        raw.beginGroup("Kartavo");
        QCOMPARE(raw.childKeys(), QStringList({"Position", "xPos", "yPos"})); // places live apart
        raw.endGroup();

        Start();
        Action("actionPlaces")->trigger();
        auto* list = m_main->findChild<QListWidget*>(QStringLiteral("placesList"));
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Opera House"));
        m_main->findChild<QPushButton*>(QStringLiteral("placesGoTo"))->click();
        QTRY_COMPARE(g_app.wndLatitude->text(), QStringLiteral("-33.8568"));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("151.2153"));
        QCOMPARE(Map(QStringLiteral("map.getZoom()")).toInt(), 14);
        m_main->findChild<QPushButton*>(QStringLiteral("placesDelete"))->click();
        QCOMPARE(list->count(), 0);
        QVERIFY(ReadSavedPlaces().empty());
    }

    void mapComesWhenTheNetworkDoes() {
        m_bNetwork = false;
        m_main = StartKartavo();
        QVERIFY(
            WaitUntil([] { return g_app.pMapView->GetDocument().url.path() == "/default.htm"; }));
        m_bNetwork = true;
        EmitNetworkChanged();
        QVERIFY(WaitUntil([] { return g_app.pMapView->GetDocument().url.path() == "/map.htm"; }));
        QCOMPARE(g_app.bOnline, 1);
    }
};

QTEST_MAIN(TestFindPlace)
#include "test_find_place.moc"
