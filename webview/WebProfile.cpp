#include "webview/WebProfile.h"

#include "webview/ResSchemeHandler.h"

#include <QString>
#include <QWebEngineProfile>

namespace {

QString DefaultUserAgent() {
    static const QString engine = QWebEngineProfile::defaultProfile()->httpUserAgent();
    return engine;
}

} // namespace

QString KartavoUserAgent() {
    return QStringLiteral("Kartavo/" KARTAVO_VERSION " (photo geotagging desktop tool) ") +
           DefaultUserAgent();
}

void PrepareWebProfile() {
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    ResSchemeHandler::InstallOn(profile);
    const QString agent = KartavoUserAgent();
    if (profile->httpUserAgent() != agent)
        profile->setHttpUserAgent(agent);
}
