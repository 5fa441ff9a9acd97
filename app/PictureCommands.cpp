#include "app/PictureCommands.h"

#include "app/ControlPanel.h"
#include "app/ReportPictureInfo.h"
#include "base/AppState.h"
#include "base/Resource.h"
#include "base/Trace.h"
#include "gps/GPSArguments.h"
#include "script/ScriptLauncher.h"
#include "script/ScriptRunner.h"
#include "webview/PhotoPage.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

// A script that cannot even be written out would otherwise fail without a word.
void Launch(int scriptId, const char* arguments) {
    if (RunScript(scriptId, g_app.szPicture, arguments) == 0)
        SetInfoText("Could not create a temporary file\r\nCheck the temporary folder");
}

// Makes path the current picture, shows it and reads its information.
void ReadPicture(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (static_cast<std::size_t>(bytes.size()) >= sizeof g_app.szPicture) {
        // A cut path would name another file.
        SetInfoText("This picture's path is too long\r\n");
        return;
    }
    std::memcpy(g_app.szPicture, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
    ShowPhoto(g_app.szPicture);
    Launch(IDR_READ_GPS, nullptr);
}

} // namespace

int BrowseForPicture(QWidget* owner, char* destination, std::size_t size) {
    // Camera files are often upper case; the patterns take any letter case.
    const QString filters =
        QStringLiteral("Images(*.jpg,*.bmp) (*.[jJ][pP][gG] *.[jJ][pP][eE][gG] *.[bB][mM][pP]);;"
                       "All(*.*) (*)");
    const QString path = QFileDialog::getOpenFileName(owner, QString(), QString(), filters, nullptr,
                                                      QFileDialog::HideNameFilterDetails);
    const QByteArray bytes = path.toUtf8();
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= size)
        return 0;
    std::memcpy(destination, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
    return 1;
}

void OpenPicture(QWidget* owner) {
    char path[4096];
    if (BrowseForPicture(owner, path, sizeof path))
        ReadPicture(QByteArray(path));
}

void TakePicture(const QString& path) {
    ReadPicture(path.toUtf8());
}

void TakePictureFile(const QByteArray& path) {
    ReadPicture(path);
}

void RecordPosition() {
    char latitude[kFieldTextSize];
    char longitude[kFieldTextSize];
    // Never write a position the user did not mean.
    char problem[96];
    if (!ReadPositionFields(latitude, longitude, problem, sizeof problem)) {
        char text[128];
        snprintf(text, sizeof text, "GPS information not recorded\r\n%s", problem);
        SetInfoText(text);
        return;
    }

    char arguments[kGPSArgumentsSize];
    FormatGPSArguments(latitude, longitude, arguments);
    Launch(IDR_WRITE_GPS, arguments);
    Trace("# WriteGPS: %s %s\n", g_app.szPicture, arguments);
}

void OnScriptDone(int scriptId, ScriptRunner* runner) {
    if (runner == nullptr)
        return;
    if (scriptId == IDR_WRITE_GPS) {
        if (!runner->Failed()) {
            SetInfoText("GPS information recorded");
            return;
        }
        char text[128];
        snprintf(text, sizeof text, "GPS information not recorded\r\n%s",
                 runner->GetErrorLine()[0] ? runner->GetErrorLine() : "The write failed");
        SetInfoText(text);
    } else if (scriptId == IDR_READ_GPS && g_app.wndMain != nullptr) {
        ReportPictureInfo(g_app.wndMain);
    }
}
