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
    MakeView(host, NewPage());
}

std::unique_ptr<QWebEnginePage> CWebBrowser::NewPage() {
    PrepareWebProfile();
    auto page = std::make_unique<QWebEnginePage>(KartavoWebProfile());
    page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    return page;
}

void CWebBrowser::MakeView(QWidget* host, std::unique_ptr<QWebEnginePage> page) {
    m_wndHost = host;
    auto* view = new QWebEngineView(host);
    view->setObjectName(QStringLiteral("webView"));
    // Dropped files belong to the host window; the page shows no menu of its own.
    view->setAcceptDrops(false);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    // The view's own page would come from the default profile.
    page->setParent(view);
    view->setPage(page.release());
    if (host->layout() == nullptr) {
        auto* layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    host->layout()->addWidget(view);
    m_pView = view;

    // A page that loaded before its view already reports.
    if (!m_pEvents) {
        m_pEvents = std::make_unique<CWebBrowserEvents>(this);
        m_pEvents->Advise(view->page());
    }
    Trace("# HWND: %p\n", static_cast<void*>(host));
}

QWebEnginePage* CWebBrowser::Page() const {
    if (m_pView)
        return static_cast<QWebEngineView*>(m_pView.data())->page();
    return m_pEarlyPage.get();
}

QWebEngineView* CWebBrowser::View() {
    MakeDeferredView();
    return static_cast<QWebEngineView*>(m_pView.data());
}

void CWebBrowser::CreateLater(QWidget* window, const char* page) {
    if (window == nullptr || m_pView)
        return;
    m_wndHost = window;
    m_nHostMode = HOST_ATTACH;
    m_deferredPage = page != nullptr ? page : "";
}

bool CWebBrowser::ViewIsDeferred() const {
    return !m_pView && m_wndHost;
}

void CWebBrowser::MakeDeferredView() {
    if (ViewIsDeferred())
        MakeView(m_wndHost, m_pEarlyPage ? std::move(m_pEarlyPage) : NewPage());
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

void CWebBrowser::LoadDeferred() {
    if (!m_deferredPage.empty()) {
        const std::string page = std::move(m_deferredPage);
        m_deferredPage.clear();
        NavigateResource(page.c_str());
    }
    MakeDeferredView();
}

void CWebBrowser::Navigate(const char* url) {
    const QUrl address(QString::fromUtf8(url));
    if (ViewIsDeferred()) {
        // Making a view takes a while; the load need not wait for it. The view is made
        // when it is first needed.
        if (!m_pEarlyPage) {
            m_pEarlyPage = NewPage();
            m_pEvents = std::make_unique<CWebBrowserEvents>(this);
            m_pEvents->Advise(m_pEarlyPage.get());
        }
        m_pEarlyPage->load(address);
        return;
    }
    if (m_pView)
        View()->load(address);
}

int CWebBrowser::SetDocument(QWebEnginePage* frame) {
    if (frame == nullptr || frame != Page())
        return -1;
    m_document.url = frame->url();
    m_document.serial = ++m_nLoads;
    Trace("SetDocument() ok");
    return 0;
}

void CWebBrowser::SetBodyScroll(const WebDocument& document, bool scroll) {
    if (Page() == nullptr || document.isNull())
        return;
    const QString overflow = scroll ? QString() : QStringLiteral("hidden");
    Page()->runJavaScript(QStringLiteral("document.documentElement.style.overflow = '%1';"
                                         "if (document.body) document.body.style.overflow = '%1';")
                              .arg(overflow));
}

int CWebBrowser::ExecScript(const char* script) {
    if (Page() == nullptr || m_document.isNull() || script == nullptr)
        return 0;
    Page()->runJavaScript(QString::fromUtf8(script));
    return 0;
}

void CWebBrowser::ExecScriptOnLoad(const char* script) {
    if (script == nullptr)
        return;
    if (!m_document.isNull()) {
        ExecScript(script);
        return;
    }
    // Only the last few matter: each shows a whole picture or notice.
    constexpr size_t kMostWaiting = 8;
    if (m_waitingScripts.size() == kMostWaiting)
        m_waitingScripts.pop_front();
    m_waitingScripts.emplace_back(script);
    LoadDeferred();
}

void CWebBrowser::RunWaitingScripts() {
    if (m_document.isNull())
        return;
    std::deque<std::string> waiting;
    waiting.swap(m_waitingScripts);
    for (const std::string& script : waiting)
        ExecScript(script.c_str());
}

OwnedBrowser MakeBrowser() {
    return OwnedBrowser(new CWebBrowser, [](CWebBrowser* browser) { delete browser; });
}
