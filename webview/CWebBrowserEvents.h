#pragma once

#include <QMetaObject>
#include <QUrl>

class CWebBrowser;
class QString;
class QWebEnginePage;

// Turns a view's events into effects on its CWebBrowser: a finished top-level page is
// recorded and loses its scroll bars; a new title is stored and announced to the host
// window with a posted WUM_WEBTITLE_CHANGE.
class CWebBrowserEvents {
public:
    explicit CWebBrowserEvents(CWebBrowser* owner) : m_pOwner(owner) {}
    ~CWebBrowserEvents();
    CWebBrowserEvents(const CWebBrowserEvents&) = delete;
    CWebBrowserEvents& operator=(const CWebBrowserEvents&) = delete;

    void Advise(QWebEnginePage* page);
    void Unadvise();

    void OnDocumentComplete(QWebEnginePage* frame, const QUrl& url);
    void OnTitleChange(const QString& text);

private:
    CWebBrowser* m_pOwner;
    QMetaObject::Connection m_loadFinished;
    QMetaObject::Connection m_titleChanged;
};
