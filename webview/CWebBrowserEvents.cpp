#include "webview/CWebBrowserEvents.h"

#include "base/Messages.h"
#include "base/Trace.h"
#include "webview/CWebBrowser.h"

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWidget>

CWebBrowserEvents::~CWebBrowserEvents() {
    Unadvise();
}

void CWebBrowserEvents::Advise(QWebEnginePage* page) {
    Unadvise();
    // loadFinished concerns the top-level page only; frames inside it do not raise it.
    m_loadFinished = QObject::connect(page, &QWebEnginePage::loadFinished, page,
                                      [this, page] { OnDocumentComplete(page, page->url()); });
    m_titleChanged = QObject::connect(page, &QWebEnginePage::titleChanged, page,
                                      [this](const QString& title) { OnTitleChange(title); });
}

void CWebBrowserEvents::Unadvise() {
    QObject::disconnect(m_loadFinished);
    QObject::disconnect(m_titleChanged);
}

void CWebBrowserEvents::OnDocumentComplete(QWebEnginePage* frame, const QUrl& url) {
    if (m_pOwner == nullptr || m_pOwner->SetDocument(frame) != 0)
        return;
    const WebDocument& document = m_pOwner->GetDocument();
    if (document.isNull())
        return;
    if (m_pOwner->m_bScroll == 0)
        m_pOwner->SetBodyScroll(document, false);
    Trace("# DocumentComplete: %s ADDR:%p\n", url.toString().toUtf8().constData(),
          static_cast<void*>(m_pOwner));
    m_pOwner->RunWaitingScripts();
}

void CWebBrowserEvents::OnTitleChange(const QString& text) {
    if (m_pOwner == nullptr)
        return;
    m_pOwner->m_strTitle = text;
    // Queued: the shell reads the title from its event loop, after this returns.
    if (QWidget* host = m_pOwner->GetHostWindow())
        QCoreApplication::postEvent(host, new QEvent(WUM_WEBTITLE_CHANGE));
}
