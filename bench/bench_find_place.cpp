// Keystroke to offline results shown in the map's search box, in the real window.
#include "app/NetworkState.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "places/CitySearch.h"
#include "places/PlacesSettings.h"
#include "webview/CWebBrowser.h"
#include "webview/WebEngineSetup.h"

#include "bench/BenchSupport.h"
#include "tests/places/LocalHttpServer.h"
#include "tests/support/GroundTile.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <cstdio>

namespace {

int Fail(const char* why) {
    std::fprintf(stderr, "bench_find_place: %s\n", why);
    return 1;
}

const QByteArray kSearchAnswer =
    R"([{"lat":"48.8534951","lon":"2.3483915","name":"Paris",)"
    R"("display_name":"Paris, Île-de-France, France métropolitaine, France",)"
    R"("boundingbox":["48.8155755","48.9021560","2.2241220","2.4697602"]},)"
    R"({"lat":"33.6617962","lon":"-95.555513","name":"Paris",)"
    R"("display_name":"Paris, Lamar County, Texas, United States",)"
    R"("boundingbox":["33.6206345","33.7383866","-95.6279396","-95.4354115"]}])";

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        QDir().mkpath(home.filePath(QString::fromLatin1(name)));
        qputenv(name, home.filePath(QString::fromLatin1(name)).toUtf8());
    }
    SetUpWebEngineBeforeApplication();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshotOption(
        "screenshot", "Save the window with the search box open as FILE.", "FILE");
    parser.addOption(screenshotOption);
    parser.process(app);

    // Tiles and the place search from 127.0.0.1: the benchmark needs no network.
    const QByteArray tile = GroundTile();
    LocalHttpServer tiles([&](const QByteArray&) {
        return LocalHttpServer::Reply{200, "image/png", tile, {}};
    });
    LocalHttpServer search([](const QByteArray&) {
        return LocalHttpServer::Reply{200, "application/json", kSearchAnswer, {}};
    });
    if (!tiles.Listen() || !search.Listen())
        return Fail("no local server");
    {
        QSettings settings = OpenPlacesSettings();
        settings.setValue("Map/TileUrl", QString::fromLatin1(tiles.Base() + "{z}/{x}/{y}.png"));
        settings.setValue("Search/NominatimUrl", QString::fromLatin1(search.Base()));
    }
    SetNetworkStateProvider([] { return true; });

    std::unique_ptr<QWidget> main = StartKartavo();
    if (!WaitUntil([] { return g_app.pMapView->GetDocument().url.path() == "/map.htm"; }, 10000))
        return Fail("the map page did not load");
    main->findChild<QAction*>(QStringLiteral("actionFindPlace"))->trigger();
    auto* query = main->findChild<QLineEdit*>(QStringLiteral("findPlaceQuery"));
    auto* results = main->findChild<QListWidget*>(QStringLiteral("findPlaceResults"));
    auto* status = main->findChild<QLabel*>(QStringLiteral("findPlaceStatus"));
    if (!query || !results || !status)
        return Fail("no search box");
    QWidget* box = query->parentWidget();

    if (parser.isSet(screenshotOption)) {
        QTest::keyClicks(query, QStringLiteral("Paris"));
        QTest::keyClick(query, Qt::Key_Return);
        if (!WaitUntil([&] { return status->text().contains("OpenStreetMap"); }))
            return Fail("no answer from the local search server");
        Settle(1500);
        QTemporaryDir work;
        const QString screen = work.filePath("screen.png");
        if (QProcess::execute("import", {"-window", "root", screen}) != 0)
            return Fail("import could not capture the screen");
        const QImage whole(screen);
        const QImage cut = whole.copy(main->frameGeometry().intersected(whole.rect()));
        const QString out = parser.value(screenshotOption);
        if (cut.isNull() || !cut.save(out))
            return Fail("could not save the screenshot");
        std::printf("%s: %dx%d\n", qPrintable(out), cut.width(), cut.height());
        StopKartavo(std::move(main));
        return 0;
    }

    const QStringList queries = {"Paris",  "san francisco", "Zürich",    "new york",
                                 "tokyo",  "buenos aires",  "cape town", "munich",
                                 "sydney", "são paulo",     "moscow",    "lagos"};
    std::vector<double> keystrokes;
    std::vector<double> library;
    double first = -1;
    for (int round = 0; round < 3; ++round) {
        for (const QString& text : queries) {
            query->clear();
            QString typed;
            for (const QChar c : text) {
                typed += c;
                QElapsedTimer timer;
                timer.start();
                QTest::sendKeyEvent(QTest::Click, query, Qt::Key_unknown, QString(c), {});
                QCoreApplication::processEvents(); // the box searches from its event loop
                box->repaint();                    // the results drawn, not only listed
                const double ms = Bench::Milliseconds(timer);
                if (first < 0)
                    first = ms;
                keystrokes.push_back(ms);
                timer.restart();
                SearchCities(typed, 8);
                library.push_back(Bench::Milliseconds(timer));
            }
        }
    }
    std::printf("first keystroke after start: %.1f ms\n", first);
    Bench::PrintRow("keystroke to offline results shown (all keystrokes)", keystrokes);
    Bench::PrintRow("SearchCities alone, same queries", library);
    StopKartavo(std::move(main));
    return 0;
}
