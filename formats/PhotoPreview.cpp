#include "formats/PhotoPreview.h"

#include "base/AppState.h"
#include "formats/PictureFormats.h"
#include "formats/PicturePreview.h"
#include "webview/CWebBrowser.h"
#include "webview/JsString.h"
#include "webview/PhotoPage.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <atomic>

namespace {

// The newest picture asked for; an older preview that arrives late is not shown.
std::atomic<unsigned> g_shown{0};
// A notice's text stays in the page until cleared.
bool g_noticeShown = false;

// Owned by the application: its end waits for the previews in hand, and their results
// are delivered through it only while it lives.
QThreadPool* Pool() {
    static QPointer<QThreadPool> pool;
    if (!pool)
        pool = new QThreadPool(QCoreApplication::instance());
    return pool;
}

void Show(const std::string& script) {
    if (g_app.pPhotoView)
        g_app.pPhotoView->ExecScriptOnLoad(script.c_str());
}

void ShowNotice(const char* text) {
    g_noticeShown = true;
    Show(PhotoNoticeScript(text));
}

} // namespace

bool NeedsMadePreview(const char* path) {
    const QByteArray name(path ? path : "");
    return PictureFormats::IsListed(name) && !PictureFormats::PageShows(name);
}

std::string PhotoNoticeScript(const char* text) {
    const QString script = QStringLiteral("var photo = document.getElementById('photo'); "
                                          "photo.removeAttribute('src'); photo.alt = %1; "
                                          "photo.width = 240;")
                               .arg(JsStringLiteral(QString::fromUtf8(text)));
    return script.toStdString();
}

void ForgetMadePreview() {
    ++g_shown;
    if (g_noticeShown)
        Show("document.getElementById('photo').alt = '';");
    g_noticeShown = false;
}

void ShowMadePreview(const char* path) {
    const unsigned ticket = ++g_shown;
    ShowNotice("Making a preview...");
    const QByteArray picture(path);
    QThreadPool* pool = Pool();
    pool->start([picture, ticket, pool] {
        QString why;
        const QString file = PicturePreview::CachedPreviewFile(picture, &why);
        QMetaObject::invokeMethod(
            pool,
            [file, why, ticket] {
                if (ticket != g_shown)
                    return;
                if (file.isEmpty())
                    ShowNotice(why.toUtf8().constData());
                else {
                    g_noticeShown = false;
                    Show(PhotoScript(file.toUtf8().constData()) + " photo.alt = '';");
                }
            },
            Qt::QueuedConnection);
    });
}
