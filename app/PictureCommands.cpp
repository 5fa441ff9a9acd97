#include "app/PictureCommands.h"

#include "app/AppState.h"

#include <QString>

#include <cstdio>

// Reading and writing pictures is not built yet.
void OpenPicture(QWidget*) {}

void TakePicture(const QString& path) {
    snprintf(g_app.szPicture, sizeof g_app.szPicture, "%s", path.toUtf8().constData());
}

void RecordPosition() {}

void OnScriptDone(int, ScriptRunner*) {}
