#include "app/MainWndProc.h"

#include "app/KartavoWindow.h"
#include "app/MapCommands.h"
#include "app/PictureCommands.h"
#include "app/Settings.h"
#include "app/trip/PicturesWindow.h"
#include "base/AppState.h"
#include "base/LocalPath.h"
#include "base/Messages.h"
#include "base/Resource.h"
#include "base/Trace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

// The first local file of a drag, as the bytes of its name, or empty when it carries none.
QByteArray FirstLocalFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls())
        return QByteArray();
    for (const QUrl& url : mime->urls()) {
        const QByteArray path = LocalPathBytes(url);
        if (!path.isEmpty())
            return path;
    }
    return QByteArray();
}

// Closing the main window: save the settings once, then leave the event loop.
bool OnClose(KartavoWindow* target, QCloseEvent* event) {
    if (target != g_app.wndMain || target->property("kartavoClosed").toBool())
        return target->DefWindowProc(event);
    // Positions still waiting are written, discarded or kept by staying, as the user says;
    // a session that ends by a signal keeps them for the next start instead.
    if (!target->property("kartavoEnding").toBool() && !MayEndTrip()) {
        event->ignore();
        return true;
    }
    target->setProperty("kartavoClosed", true);
    const QPoint topLeft = target->frameGeometry().topLeft();
    SaveSettings(topLeft.x(), topLeft.y(), MapTitle());
    event->accept();
    QCoreApplication::exit(0);
    return true;
}

void OnCommand(KartavoWindow* target, const CommandEvent* command) {
    switch (command->id()) {
    case IDC_ZOOM:
        if (command->code() == CBN_SELCHANGE) {
            Trace("# CBN_SELCHANGE\n");
            if (auto* zoom = qobject_cast<QComboBox*>(command->source()))
                CenterMap(zoom->currentIndex() + 1);
        }
        break;
    case IDC_MOVE_TO_POINT:
        if (g_app.pMapView && g_app.bOnline) {
            if (auto* zoom = target->findChild<QComboBox*>(QStringLiteral("zoom")))
                CenterMap(zoom->currentIndex() + 1);
        }
        break;
    case IDC_RECORD:
    case ID_PICTURE_RECORD:
        if (g_app.szPicture[0] != '\0')
            RecordPosition();
        break;
    case ID_PICTURE_OPEN:
        OpenPicture(target);
        break;
    case ID_FILE_EXIT:
        target->close();
        break;
    default:
        break;
    }
}

bool OnDrag(KartavoWindow* target, QDropEvent* event) {
    if (target != g_app.wndImage || FirstLocalFile(event->mimeData()).isEmpty())
        return target->DefWindowProc(event);
    event->acceptProposedAction();
    return true;
}

bool OnDrop(KartavoWindow* target, QDropEvent* event) {
    if (target != g_app.wndImage)
        return target->DefWindowProc(event);
    const QByteArray path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return target->DefWindowProc(event);
    event->acceptProposedAction();
    TakePicture(path);
    // Several files at once also go into the Pictures window, the first among them.
    ListDroppedPictures(event->mimeData()->urls());
    return true;
}

} // namespace

bool MainWndProc(KartavoWindow* target, QEvent* event) {
    switch (static_cast<int>(event->type())) {
    case QEvent::Close:
        return OnClose(target, static_cast<QCloseEvent*>(event));
    case WM_COMMAND:
        OnCommand(target, static_cast<CommandEvent*>(event));
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return OnDrag(target, static_cast<QDropEvent*>(event));
    case QEvent::Drop:
        return OnDrop(target, static_cast<QDropEvent*>(event));
    case UWM_COMMAND_DONE: {
        const auto* done = static_cast<CommandDoneEvent*>(event);
        OnScriptDone(done->scriptId(), done->runner());
        Trace("# UWM_COMMAND_DONE\n");
        return target->DefWindowProc(event);
    }
    case WUM_WEBTITLE_CHANGE:
        OnMapTitleChanged();
        return target->DefWindowProc(event);
    default:
        return target->DefWindowProc(event);
    }
}

void SendCommand(int id, int code, QObject* source) {
    if (g_app.wndMain == nullptr)
        return;
    CommandEvent command(id, code, source);
    QCoreApplication::sendEvent(g_app.wndMain, &command);
}
