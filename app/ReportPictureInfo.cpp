#include "app/ReportPictureInfo.h"

#include "app/ControlPanel.h"
#include "app/PictureCommands.h"
#include "base/AppState.h"
#include "base/Trace.h"
#include "gps/PictureReport.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QLineEdit>
#include <QTimeEdit>

#include <cstdio>
#include <unistd.h>

namespace {

void SetPickers(QWidget* mainWindow, const PictureReport& report) {
    const QDate date(report.year, report.month, report.day);
    const QTime time(report.hour, report.minute, report.second);
    // A record that is no real date and time leaves both pickers as they were.
    if (!date.isValid() || !time.isValid())
        return;
    if (auto* picker = mainWindow->findChild<QDateEdit*>(QStringLiteral("date")))
        picker->setDate(date);
    if (auto* picker = mainWindow->findChild<QTimeEdit*>(QStringLiteral("time")))
        picker->setTime(time);
}

int SelectedZoom(QWidget* mainWindow) {
    auto* zoom = mainWindow->findChild<QComboBox*>(QStringLiteral("zoom"));
    return zoom ? zoom->currentIndex() + 1 : 12;
}

void DeleteTempFile(const ScriptRunner& runner) {
    const char* path = runner.GetTempFile();
    if (path[0] != '\0' && unlink(path) == 0)
        Trace("# Deleted: %s\n", path);
}

} // namespace

int ReportPictureInfo(QWidget* mainWindow, const char* picturePath) {
    ScriptRunner& runner = *g_app.pRunner;
    if (picturePath == nullptr)
        picturePath = g_app.szPicture;
    if (runner.Failed()) {
        // The script could not read the file: say so, and why, rather than keep an old report.
        SetInfoText(("This picture could not be read\r\n" + RunFailureReason(runner)).c_str());
        DeleteTempFile(runner);
        return 0;
    }

    const bool hasLines = runner.GetLineCount() > 0;
    const PictureReport report = BuildPictureReport(
        hasLines, [&runner](int number) { return runner.GetPrintedLine(number); }, picturePath,
        SelectedZoom(mainWindow));

    if (hasLines) {
        SetPickers(mainWindow, report);
        if (report.bHasPosition) {
            if (report.bHasAltitude)
                g_app.strAltitude = std::string(report.szAltitude);
            g_app.wndLatitude->setText(QString::fromUtf8(report.szLatitude));
            g_app.wndLongitude->setText(QString::fromUtf8(report.szLongitude));
        }
        // An unusable position leaves the map where it is.
        if (g_app.pMapView && report.szScript[0] != '\0')
            g_app.pMapView->ExecScript(report.szScript);
    }
    SetInfoText(report.szText);
    DeleteTempFile(runner);
    return hasLines ? 1 : 0;
}
