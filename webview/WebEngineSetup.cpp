#include "webview/WebEngineSetup.h"

#include "webview/ResSchemeHandler.h"

#include <QQuickWindow>
#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler g_nextHandler = nullptr;

// With no OpenGL offered, Qt and the web engine each say once that they found none.
void DropNoOpenGlNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg &&
        (text.startsWith(QLatin1String("QXcbIntegration: Cannot create platform OpenGL")) ||
         text.trimmed() == QLatin1String("No suitable graphics backend found")))
        return;
    g_nextHandler(type, context, text); // Qt gives its own default when none was set
}

} // namespace

void SetUpWebEngineBeforeApplication() {
    ResSchemeHandler::RegisterScheme();
    // A small 2D map and a photo look the same drawn in software, and the map page loads
    // about 100 ms sooner: no OpenGL context, texture upload or read-back for each frame
    // of the views. A scene graph the user chose through Qt's own variables is kept.
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") ||
        !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Nothing then draws with OpenGL, yet the web engine makes a context for sharing as the
    // application starts, and loading the system's GL driver for it costs the start tens of
    // milliseconds. On X, Qt is told to offer no OpenGL unless the user chose otherwise.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        g_nextHandler = qInstallMessageHandler(&DropNoOpenGlNotes);
    }
}
