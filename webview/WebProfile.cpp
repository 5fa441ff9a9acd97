#include "webview/WebProfile.h"

#include "places/PlacesSettings.h"
#include "webview/JsString.h"
#include "webview/ResSchemeHandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QString>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

const QString kTileScript = QStringLiteral("kartavoTileUrl");

// The map page reads the tile address before it makes its tile layer.
void SetTileUrlScript(QWebEngineProfile* profile) {
    QWebEngineScriptCollection* scripts = profile->scripts();
    for (const QWebEngineScript& old : scripts->find(kTileScript))
        scripts->remove(old);
    QWebEngineScript script;
    script.setName(kTileScript);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(
        QStringLiteral("var kartavoTileUrl = %1;").arg(JsStringLiteral(MapTileUrl())));
    scripts->insert(script);
}

} // namespace

QString KartavoUserAgent() {
    // The engine's own agent, as the program's profile has it until PrepareWebProfile gives
    // it this one: asking the default profile would make a second profile at start-up.
    static const QString engine = KartavoWebProfile()->httpUserAgent();
    return QStringLiteral("Kartavo/" KARTAVO_VERSION " (photo geotagging desktop tool) ") + engine;
}

QWebEngineProfile* KartavoWebProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        // A named profile keeps what it stores on disk; the default one keeps nothing.
        profile = new QWebEngineProfile(QStringLiteral("Kartavo"), QCoreApplication::instance());
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!cache.isEmpty()) {
            profile->setCachePath(QDir(cache).filePath(QStringLiteral("web")));
            profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        }
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    }
    return profile;
}

void PrepareWebProfile() {
    QWebEngineProfile* profile = KartavoWebProfile();
    ResSchemeHandler::InstallOn(profile);
    const QString agent = KartavoUserAgent();
    if (profile->httpUserAgent() != agent)
        profile->setHttpUserAgent(agent);
    SetTileUrlScript(profile);
}
