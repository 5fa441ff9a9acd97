#pragma once

#include "base/AppState.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

class CWebBrowserEvents;
class QWebEnginePage;
class QWebEngineView;

// How Create hosts the view: in a window of its own, or filling the caller's window.
constexpr int HOST_CREATE = 0;
constexpr int HOST_ATTACH = 1;

// Window styles Create understands for a window of its own.
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;

// A top-level page that has finished loading. The serial tells two loads of one address
// apart; 0 means no page yet.
struct WebDocument {
    QUrl url;
    quint64 serial = 0;
    bool isNull() const { return serial == 0; }
};

// One embedded web view hosted in a window: loads pages, keeps the last page title and
// runs script in the loaded top-level page.
class CWebBrowser {
public:
    CWebBrowser();
    ~CWebBrowser();
    CWebBrowser(const CWebBrowser&) = delete;
    CWebBrowser& operator=(const CWebBrowser&) = delete;

    // HOST_ATTACH: the view fills window's contents; rect, windowName and style are unused.
    // HOST_CREATE: the view gets a child window of its own at rect.
    void Create(QWidget* window, const QRect& rect, const char* windowName, std::uint32_t style,
                int hostMode);

    // Loads res://<program file name>/<page>. Returns 1, or 0 when the name is unknown.
    int NavigateResource(const char* page);
    void Navigate(const char* url);

    // As Create with HOST_ATTACH, then NavigateResource(page), but both wait for
    // LoadDeferred or the first script sent to the page: until then the web engine spends
    // nothing on this view. A page navigated before then loads without a view; the view
    // is made by LoadDeferred, or when View() first needs it.
    void CreateLater(QWidget* window, const char* page);
    // Makes the view and loads the kept page, once; nothing when nothing waits.
    void LoadDeferred();

    // Records the top-level page that frame has finished loading: 0, or -1 when frame is
    // not this view's top-level page.
    int SetDocument(QWebEnginePage* frame);
    const WebDocument& GetDocument() const { return m_document; }
    QWidget* GetHostWindow() const { return m_wndHost; }
    void SetBodyScroll(const WebDocument& document, bool scroll);

    // Runs script in the recorded top-level page, after the scripts before it; dropped
    // while no page has finished loading. Failures in the page are ignored. Returns 0.
    int ExecScript(const char* script);
    // As ExecScript, but a script sent before the first page has loaded waits for it (the
    // newest few, in order) and starts a deferred load.
    void ExecScriptOnLoad(const char* script);
    // Runs the scripts that waited for the page; called when it has finished loading.
    void RunWaitingScripts();

    // The view itself, for the tests and the screenshots; null before Create.
    QWebEngineView* View();
    // The page, which may be loading before its view is made; null before any.
    QWebEnginePage* Page() const;

    std::unique_ptr<CWebBrowserEvents> m_pEvents;
    int m_bScroll = 0;
    // The last title the page reported; nothing until the first report.
    std::optional<QString> m_strTitle;

private:
    // A page of the program's profile, without scroll bars.
    static std::unique_ptr<QWebEnginePage> NewPage();
    void MakeView(QWidget* host, std::unique_ptr<QWebEnginePage> page);
    // CreateLater has named a host, and the view is not made yet.
    bool ViewIsDeferred() const;
    void MakeDeferredView();

    QPointer<QWidget> m_pView; // a QWebEngineView
    QPointer<QWidget> m_wndHost;
    WebDocument m_document;
    quint64 m_nLoads = 0;
    int m_nHostMode = HOST_ATTACH;
    std::string m_deferredPage;
    // Loading before its view is made.
    std::unique_ptr<QWebEnginePage> m_pEarlyPage;
    std::deque<std::string> m_waitingScripts;
};

// A new, empty browser in the owner that the shell's state keeps.
OwnedBrowser MakeBrowser();
