#include "app/PictureCommands.h"

#include "app/ControlPanel.h"
#include "app/ReportPictureInfo.h"
#include "app/SidecarRecord.h"
#include "base/AppState.h"
#include "base/Resource.h"
#include "base/Trace.h"
#include "formats/PictureFormats.h"
#include "gps/CoordinateCheck.h"
#include "gps/DecimalText.h"
#include "gps/GPSArguments.h"
#include "script/ScriptLauncher.h"
#include "script/ScriptRunner.h"
#include "webview/PhotoPage.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

// A script that cannot even be written out would otherwise fail without a word.
void Launch(int scriptId, const char* arguments) {
    if (RunScript(scriptId, g_app.szPicture, arguments) == 0)
        SetInfoText("Could not create a temporary file\r\nCheck the temporary folder");
}

// Why path cannot be read as a picture, or empty when it is a regular file. Anything
// else (a named pipe above all) would block whoever opened it.
std::string RefusalReason(const char* path) {
    struct stat info {};
    if (stat(path, &info) != 0)
        return std::string(path) + ": " + std::strerror(errno);
    if (S_ISREG(info.st_mode))
        return std::string();
    const char* kind = S_ISDIR(info.st_mode)                            ? "a folder"
                       : S_ISFIFO(info.st_mode)                         ? "a named pipe"
                       : S_ISSOCK(info.st_mode)                         ? "a socket"
                       : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                                                                        : "not a regular file";
    return std::string(path) + " is " + kind + ", not a picture file";
}

// The current picture is gone: Record has nothing to write into until another is read.
void Refuse(const std::string& reason) {
    g_app.szPicture[0] = '\0';
    SetInfoText(("This picture could not be read\r\n" + reason).c_str());
}

} // namespace

void ReadPicture(const QByteArray& path) {
    if (path.isEmpty())
        return;
    if (static_cast<std::size_t>(path.size()) >= sizeof g_app.szPicture) {
        // A cut path would name another file.
        g_app.szPicture[0] = '\0';
        SetInfoText("This picture's path is too long\r\n");
        return;
    }
    const std::string reason = RefusalReason(path.constData());
    if (!reason.empty()) {
        Refuse(reason);
        return;
    }
    std::memcpy(g_app.szPicture, path.constData(), static_cast<std::size_t>(path.size()) + 1);
    ShowPhoto(g_app.szPicture);
    // The read script looks for the configured sidecar name first.
    const char* naming =
        PictureFormats::ReadWriteSetting().name == PictureFormats::SidecarName::Full
            ? "NAME.EXT.xmp"
            : "NAME.xmp";
    Launch(IDR_READ_GPS, naming);
}

int BrowseForPicture(QWidget* owner, char* destination, std::size_t size) {
    // Camera files are often upper case; the patterns take any letter case.
    const QString filters =
        QStringLiteral("Images(*.jpg,*.bmp) (*.[jJ][pP][gG] *.[jJ][pP][eE][gG] *.[bB][mM][pP]);;"
                       "All(*.*) (*)");
    const QString path = QFileDialog::getOpenFileName(owner, QString(), QString(), filters, nullptr,
                                                      QFileDialog::HideNameFilterDetails);
    const QByteArray bytes = QFile::encodeName(path);
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

void TakePicture(const QByteArray& path) {
    ReadPicture(path);
}

void RecordPosition() {
    char latitude[kFieldTextSize];
    char longitude[kFieldTextSize];
    ReadField(g_app.wndLatitude, latitude);
    ReadField(g_app.wndLongitude, longitude);

    // Never write a position the user did not mean.
    char problem[96];
    if (!CheckCoordinateFields(latitude, longitude, problem, sizeof problem)) {
        char text[128];
        snprintf(text, sizeof text, "GPS information not recorded\r\n%s", problem);
        SetInfoText(text);
        return;
    }

    // The signs as the write script's letters take them, before the dashes go.
    const bool south = latitude[0] == '-';
    const bool west = longitude[0] == '-';
    char arguments[kGPSArgumentsSize];
    FormatGPSArguments(latitude, longitude, arguments);
    if (RecordsIntoSidecar(g_app.szPicture)) {
        bool ok = false;
        const double altitude = QByteArray(g_app.strAltitude.value_or("").c_str()).toDouble(&ok);
        // Read with a point in any locale: atof would stop at it under a German one.
        RecordIntoSidecar(g_app.szPicture, (south ? -1 : 1) * ReadDecimal(latitude),
                          (west ? -1 : 1) * ReadDecimal(longitude),
                          ok ? std::optional<double>(altitude) : std::nullopt);
        return;
    }
    Launch(IDR_WRITE_GPS, arguments);
    Trace("# WriteGPS: %s %s\n", g_app.szPicture, arguments);
}

std::string RunFailureReason(const ScriptRunner& runner) {
    if (runner.GetErrorLine()[0] != '\0')
        return runner.GetErrorLine();
    const int status = runner.GetExitStatus();
    if (status == ProcessRunner::EXIT_SIGNALLED)
        return "The script was stopped by a signal";
    if (status == ProcessRunner::EXIT_UNKNOWN)
        return "The script's end was not seen";
    return "The script ended with status " + std::to_string(status) + " and no message";
}

std::string ReportedPicture(const ScriptRunner& runner) {
    // The launcher gives the picture as the script's first argument: perl SCRIPT PICTURE ...
    const std::vector<std::string>& arguments = runner.GetArguments();
    return arguments.size() > 2 ? arguments[2] : std::string(g_app.szPicture);
}

void OnScriptDone(int scriptId, ScriptRunner* runner) {
    if (runner == nullptr)
        return;
    if (scriptId == IDR_WRITE_GPS) {
        if (!runner->Failed()) {
            SetInfoText("GPS information recorded");
            return;
        }
        // The whole reason: the box wraps it.
        SetInfoText(("GPS information not recorded\r\n" + RunFailureReason(*runner)).c_str());
    } else if (scriptId == IDR_READ_GPS && g_app.wndMain != nullptr) {
        ReportPictureInfo(g_app.wndMain, ReportedPicture(*runner).c_str());
    }
}
