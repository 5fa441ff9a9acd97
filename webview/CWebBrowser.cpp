#include "webview/CWebBrowser.h"

#include "base/Trace.h"
#include "webview/CWebBrowserEvents.h"
#include "webview/ResourcePath.h"
#include "webview/WebProfile.h"

#include <QLayout>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

CWebBrowser::CWebBrowser() = default;

CWebBrowser::~CWebBrowser() {
    Trace("# ~CWebBrowser()\n");
    // Disconnect first: the events must not reach a half-destroyed wrapper.
    m_pEvents.reset();
    if (m_wndHost) {
        if (m_nHostMode == HOST_CREATE) {
            delete m_wndHost.data(); // takes the view with it
            Trace(" - m_wndHost.DestroyWindow()\n");
        } else {
            Trace(" - m_wndHost.Detach()\n");
        }
    }
    // The page must go before the web engine's profile does at the end of the program.
    delete m_pView.data();
}

void CWebBrowser::Create(QWidget* window, const QRect& rect, const char* windowName,
                         std::uint32_t style, int hostMode) {
    if (window == nullptr || m_pView)
        return;
    PrepareWebProfile();

    QWidget* host = window;
    if (hostMode == HOST_ATTACH) {
        m_nHostMode = HOST_ATTACH;
    } else {
        m_nHostMode = HOST_CREATE;
        host = new QWidget(window);
        if (windowName != nullptr)
            host->setObjectName(QString::fromUtf8(windowName));
        host->setGeometry(rect);
        host->setVisible((style & WS_VISIBLE) != 0);
    }
    m_wndHost = host;

    auto* view = new QWebEngineView(KartavoWebProfile(), host);
    view->setObjectName(QStringLiteral("webView"));
    // Dropped files belong to the host window; the page shows no menu of its own.
    view->setAcceptDrops(false);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    if (host->layout() == nullptr) {
        auto* layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    host->layout()->addWidget(view);
    m_pView = view;

    m_pEvents = std::make_unique<CWebBrowserEvents>(this);
    m_pEvents->Advise(view->page());
    Trace("# HWND: %p\n", static_cast<void*>(host));
}

QWebEngineView* CWebBrowser::View() const {
    return static_cast<QWebEngineView*>(m_pView.data());
}

int CWebBrowser::NavigateResource(const char* page) {
    const QString address = ResourceAddress(QString::fromUtf8(page));
    if (address.isEmpty())
        return 0;
    const QByteArray url = address.toUtf8();
    Navigate(url.constData());
    Trace("# Navigate: %s\n", url.constData());
    return 1;
}

void CWebBrowser::Navigate(const char* url) {
    if (m_pView)
        View()->load(QUrl(QString::fromUtf8(url)));
}

int CWebBrowser::SetDocument(QWebEnginePage* frame) {
    if (!m_pView || frame == nullptr || frame != View()->page())
        return -1;
    m_document.url = frame->url();
    m_document.serial = ++m_nLoads;
    Trace("SetDocument() ok");
    return 0;
}

void CWebBrowser::SetBodyScroll(const WebDocument& document, bool scroll) {
    if (!m_pView || document.isNull())
        return;
    const QString overflow = scroll ? QString() : QStringLiteral("hidden");
    View()->page()->runJavaScript(
        QStringLiteral("document.documentElement.style.overflow = '%1';"
                       "if (document.body) document.body.style.overflow = '%1';")
            .arg(overflow));
}

int CWebBrowser::ExecScript(const char* script) {
    if (!m_pView || m_document.isNull() || script == nullptr)
        return 0;
    View()->page()->runJavaScript(QString::fromUtf8(script));
    return 0;
}

OwnedBrowser MakeBrowser() {
    return OwnedBrowser(new CWebBrowser, [](CWebBrowser* browser) { delete browser; });
}
