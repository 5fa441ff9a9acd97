#pragma once

#include <memory>
#include <optional>
#include <string>

class QWidget;
class QLineEdit;
class QPlainTextEdit;
class CWebBrowser;
class ScriptRunner;

// Web views are made and deleted by the window code; the core library only holds them.
using OwnedBrowser = std::unique_ptr<CWebBrowser, void (*)(CWebBrowser*)>;

// The shell's one process-wide record; used on the user-interface thread only.
struct AppState {
    AppState();
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Windows are owned by their Qt parents.
    QWidget* wndMain = nullptr;
    QWidget* wndMapHost = nullptr;
    QWidget* wndImage = nullptr;
    QLineEdit* wndLatitude = nullptr;
    QLineEdit* wndLongitude = nullptr;
    QPlainTextEdit* wndInfo = nullptr;

    OwnedBrowser pMapView;
    OwnedBrowser pPhotoView;
    std::unique_ptr<ScriptRunner> pRunner;

    char szPicture[512] = {};
    int bOnline = 0;
    // Absent until a picture with an altitude was read or a record needed one.
    std::optional<std::string> strAltitude;
};

extern AppState g_app;
