#include "webview/ResSchemeHandler.h"

#include "base/Trace.h"
#include "webview/ResourcePath.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {

// A literal, not a global object: registration runs before static objects are made.
constexpr char kScheme[] = "res";

} // namespace

void ResSchemeHandler::RegisterScheme() {
    if (!QWebEngineUrlScheme::schemeByName(kScheme).name().isEmpty())
        return;
    QWebEngineUrlScheme scheme{QByteArray(kScheme)};
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
    // Not LocalScheme: local content may not fetch the map tiles from the network.
    // LocalAccessAllowed lets the photo page show pictures from file: addresses.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void ResSchemeHandler::InstallOn(QWebEngineProfile* profile) {
    if (profile->urlSchemeHandler(kScheme) != nullptr)
        return;
    profile->installUrlSchemeHandler(kScheme, new ResSchemeHandler(profile));
}

void ResSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    // Only this program's own resources, as the address names it.
    const QString path = IsProgramHost(url.host()) ? FindWebResource(url.path()) : QString();
    const QByteArray mimeType = WebResourceMimeType(path);
    if (path.isEmpty() || mimeType.isEmpty()) {
        Trace("# res: not found %s\n", url.toString().toUtf8().constData());
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        delete file;
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(mimeType, file);
}
