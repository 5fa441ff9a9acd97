#include "app/Startup.h"

#include "app/ControlPanel.h"
#include "app/FeatureMenus.h"
#include "app/KartavoWindow.h"
#include "app/MainWindow.h"
#include "app/NetworkState.h"
#include "app/PicturesWindow.h"
#include "app/QuitOnSignal.h"
#include "app/Settings.h"
#include "app/WindowPosition.h"
#include "base/AppState.h"
#include "base/Resource.h"
#include "base/Trace.h"
#include "script/ScriptLauncher.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"
#include "webview/ResSchemeHandler.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <memory>

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 550;
constexpr int kStartupDelayMs = 100;

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

    // The map page waits for the start-up timer, which knows whether there is a network.
    g_app.pMapView = MakeBrowser();
    g_app.pMapView->Create(mapHost, mapHost->contentsRect(), nullptr, WS_CHILD | WS_VISIBLE,
                           HOST_ATTACH);

    g_app.pRunner = std::make_unique<ScriptRunner>();
    g_app.pRunner->SetNotifyWindow(main.get());

    // Shown normally at the stored place, whatever state the session asks for.
    main->setWindowState(Qt::WindowNoState);
    main->show();
    main->move(position);

    QTimer::singleShot(kStartupDelayMs, main.get(), [] { StartupTimerProc(); });
    return main;
}

void StartupTimerProc() {
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
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    ResSchemeHandler::RegisterScheme();
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Kartavo"));
    QApplication::setApplicationVersion(QStringLiteral(KARTAVO_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("kartavo"));

    std::unique_ptr<QWidget> main = StartKartavo();
    // Ending the session closes the window as the close button does.
    // Past exec the window has gone to StopKartavo, which may still finish writes.
    QuitOnSignal quitOnSignal([&main] {
        if (main)
            main->close();
    });
    const int result = QApplication::exec();
    StopKartavo(std::move(main));
    return result;
}
