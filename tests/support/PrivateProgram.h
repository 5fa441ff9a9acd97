#pragma once

#include "app/NetworkState.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "webview/CWebBrowser.h"

#include "tests/webview/WebTestSupport.h"

#include <QTemporaryDir>
#include <QWebEngineView>
#include <QWidget>
#include <QtTest>

#include <memory>

// The real program for a suite, with configuration, data and temporary folders of its own
// and a network that is always there; started once its map page has the function ready.
class PrivateProgram {
public:
    std::unique_ptr<QWidget> main;

    bool Start(const char* ready) {
        if (!m_config.isValid() || !m_data.isValid() || !m_temp.isValid())
            return false;
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        qputenv("TMPDIR", m_temp.path().toUtf8());
        SetNetworkStateProvider([] { return true; });
        main = StartKartavo();
        return QTest::qWaitForWindowExposed(main.get()) &&
               WaitForJs(g_app.pMapView->View()->page(),
                         QStringLiteral("typeof %1").arg(QLatin1String(ready)), "function");
    }

    void Stop() {
        if (main)
            StopKartavo(std::move(main));
    }

private:
    QTemporaryDir m_config;
    QTemporaryDir m_data;
    QTemporaryDir m_temp;
};
