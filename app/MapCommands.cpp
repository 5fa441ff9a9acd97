#include "app/MapCommands.h"

#include "base/AppState.h"
#include "app/ControlPanel.h"
#include "base/Trace.h"
#include "gps/DecimalText.h"
#include "gps/MapTitle.h"
#include "webview/CWebBrowser.h"

#include <QLineEdit>

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kScriptSize = 128;

// A plain decimal number as a script literal that means the same number: a leading zero
// would make "012" an octal 10 (or "012.5" an error) in the page.
void DropLeadingZeros(char* number) {
    char* digits = number + ((number[0] == '+' || number[0] == '-') ? 1 : 0);
    std::size_t zeros = 0;
    while (digits[zeros] == '0' && digits[zeros + 1] >= '0' && digits[zeros + 1] <= '9')
        ++zeros;
    if (zeros > 0)
        std::memmove(digits, digits + zeros, std::strlen(digits + zeros) + 1);
}

} // namespace

void CenterMap(int zoom) {
    char latitude[kFieldTextSize];
    char longitude[kFieldTextSize];
    ReadField(g_app.wndLatitude, latitude);
    ReadField(g_app.wndLongitude, longitude);
    // Only numbers reach the page; anything else runs no script at all.
    if (!IsPlainDecimal(latitude) || !IsPlainDecimal(longitude)) {
        Trace("# Not a position: %s %s\n", latitude, longitude);
        return;
    }
    DropLeadingZeros(latitude);
    DropLeadingZeros(longitude);
    char script[kScriptSize];
    snprintf(script, sizeof script, "SetCenter(%s,%s,%d)", latitude, longitude, zoom);
    Trace("# %s\n", script);
    if (g_app.pMapView)
        g_app.pMapView->ExecScript(script);
}

void OnMapTitleChanged() {
    if (!g_app.pMapView)
        return;
    const std::optional<std::string> title = MapTitle();
    const char* text = title ? title->c_str() : "";
    char latitude[kMapWordSize];
    char longitude[kMapWordSize];
    if (ParseMapTitle(text, latitude, longitude) == 1) {
        if (g_app.wndLatitude)
            g_app.wndLatitude->setText(QString::fromUtf8(latitude));
        if (g_app.wndLongitude)
            g_app.wndLongitude->setText(QString::fromUtf8(longitude));
    }
    Trace("# WUM_WEBTITLE_CHANGE:%s\n", text);
}

std::optional<std::string> MapTitle() {
    if (!g_app.pMapView || !g_app.pMapView->m_strTitle)
        return std::nullopt;
    return g_app.pMapView->m_strTitle->toStdString();
}
