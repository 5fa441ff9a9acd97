#include "app/Startup.h"

#include "app/ControlPanel.h"
#include "app/FeatureMenus.h"
#include "app/KartavoWindow.h"
#include "app/MainWindow.h"
#include "app/NetworkState.h"
#include "app/QuitOnSignal.h"
#include "app/Settings.h"
#include "app/StartIcons.h"
#include "app/Translations.h"
#include "app/WindowPosition.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TripRestore.h"
#include "base/AppState.h"
#include "base/Resource.h"
#include "base/Trace.h"
#include "pictures/Leftovers.h"
#include "script/ScriptLauncher.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"
#include "webview/WebEngineSetup.h"
#include "webview/WebProfile.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWebEnginePage>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 550;
// Should the map page never start, its view is not made later; nor the photo page, should
// the map page never finish loading.
constexpr int kMapViewLatestMs = 1000;
constexpr int kPhotoPageLatestMs = 3000;

// Started without a network: waits for one, then shows the map in the placeholder's stead.
std::unique_ptr<NetworkWatch>& MapWaitsForNetwork() {
    static std::unique_ptr<NetworkWatch> watch;
    return watch;
}

void OnNetworkChanged() {
    if (g_app.bOnline || !g_app.pMapView || !IsNetworkAvailable())
        return;
    g_app.bOnline = 1;
    Trace("# Online: %d\n", g_app.bOnline);
    g_app.pMapView->NavigateResource("map.htm");
    // Not from inside the watch's own report.
    QTimer::singleShot(0, g_app.wndMain, [] { MapWaitsForNetwork().reset(); });
}

// Traces the moment the window is first on screen, for measuring the start.
class FirstExposeTrace : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            Trace("# Shown\n");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

QPoint StartPosition() {
    const StoredSettings stored = ReadSettings();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screen = primary ? primary->size() : QSize(0, 0);
    const int monitors = static_cast<int>(QGuiApplication::screens().size());
    return ApplyPositionRule(stored.xPos, stored.yPos, monitors, screen.width(), screen.height());
}

} // namespace

std::unique_ptr<QWidget> StartKartavo() {
    const QPoint position = StartPosition();
    std::unique_ptr<KartavoWindow> main =
        CreateMainWindow(position.x(), position.y(), kWindowWidth, kWindowHeight);
    g_app.wndMain = main.get();
    CreateControlPanel(main.get());
    AddFeatureMenus(main.get());

    auto* mapHost = new KartavoWindow(ClientArea(main.get()));
    mapHost->setObjectName(QStringLiteral("mapHost"));
    mapHost->setFrameShape(QFrame::Box);
    mapHost->setGeometry(0, 0, 600, 400);
    g_app.wndMapHost = mapHost;

    // Its view is made once the map page has started loading.
    PaintAsEmptyView(mapHost);
    g_app.pMapView = MakeBrowser();
    g_app.pMapView->CreateLater(mapHost, nullptr);

    g_app.pRunner = std::make_unique<ScriptRunner>();
    g_app.pRunner->SetNotifyWindow(main.get());

    // The web engine starts before the window is shown, and the map page loads while the
    // window is shown and painted. The map view is made once the page has started (or after
    // a short while), and the photo page after the map page has loaded (or with the first
    // picture). The window's icon comes when the map page has loaded.
    KartavoWebProfile();
    Trace("# Start: window built\n");

    // Shown normally at the stored place, whatever state the session asks for.
    main->setWindowState(Qt::WindowNoState);
    main->show();
    main->move(position);
    if (QWindow* window = main->windowHandle())
        window->installEventFilter(new FirstExposeTrace(main.get()));
    // First thing in the event loop, with no wait: the network question and the map page.
    auto makeMapView = [] {
        if (g_app.pMapView)
            g_app.pMapView->LoadDeferred();
    };
    auto afterMapPage = [] {
        SetMainWindowIcon(g_app.wndMain);
        if (g_app.pPhotoView)
            g_app.pPhotoView->LoadDeferred();
    };
    QTimer::singleShot(0, main.get(), [context = main.get(), makeMapView, afterMapPage] {
        LoadStartPage();
        QWebEnginePage* page = g_app.pMapView ? g_app.pMapView->Page() : nullptr;
        if (page == nullptr)
            return;
        // While the page's renderer starts, the window's thread has time to make the view.
        QObject::connect(page, &QWebEnginePage::loadStarted, context, makeMapView);
        QObject::connect(page, &QWebEnginePage::loadFinished, context, afterMapPage);
    });
    QTimer::singleShot(kMapViewLatestMs, main.get(), makeMapView);
    QTimer::singleShot(kPhotoPageLatestMs, main.get(), afterMapPage);
    return main;
}

void LoadStartPage() {
    g_app.bOnline = IsNetworkAvailable() ? 1 : 0;
    Trace("# Online: %d\n", g_app.bOnline);
    if (g_app.pMapView)
        g_app.pMapView->NavigateResource(g_app.bOnline ? "map.htm" : "default.htm");
    // A network found later brings the map in without a restart.
    if (g_app.bOnline)
        MapWaitsForNetwork().reset();
    else
        MapWaitsForNetwork() = std::make_unique<NetworkWatch>(&OnNetworkChanged);
}

void StopKartavo(std::unique_ptr<QWidget> mainWindow) {
    // First, while the windows they report to are still there: writes that were
    // accepted are carried out and reported, a running read is ended.
    FinishPictureWrites();
    EndTrip();
    g_app.pRunner.reset();
    RemoveScriptFolders();
    g_app.pMapView.reset();
    g_app.pPhotoView.reset();
    mainWindow.reset();
    g_app.wndMain = g_app.wndMapHost = g_app.wndImage = nullptr;
    g_app.wndLatitude = g_app.wndLongitude = nullptr;
    g_app.wndInfo = nullptr;
}

int WinMain(int, char* argv[]) {
    // Qt's own options are not taken from the command line either.
    Trace("# Start: main\n");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    SetUpWebEngineBeforeApplication();
    // While the application is made, one core is mostly idle.
    PrepareNetworkMonitor();
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Kartavo"));
    QApplication::setApplicationVersion(QStringLiteral(KARTAVO_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kartavo.Kartavo"));
    InstallTranslations();
    UseStartIcons();
    Trace("# Start: application\n");

    std::unique_ptr<QWidget> main = StartKartavo();
    // Once the start is over: what batch writes killed mid-write left beside the pictures.
    QTimer::singleShot(3000, main.get(), [] { Leftovers::RemoveInBackground(); });
    // Ending the session closes the window as the close button does.
    // Past exec the window has gone to StopKartavo, which may still finish writes.
    QuitOnSignal quitOnSignal([&main] {
        if (main) {
            main->setProperty("kartavoEnding", true);
            main->close();
        }
    });
    // Once the window is up: a trip left by a crash is offered back.
    QTimer::singleShot(1000, &app, [] { OfferTripBack(); });
    const int result = QApplication::exec();
    StopKartavo(std::move(main));
    return result;
}
