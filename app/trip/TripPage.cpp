#include "app/trip/TripPage.h"

#include "webview/WebProfile.h"

#include <QJsonDocument>
#include <QWebEngineSettings>

namespace {
const QString kPrefix = QStringLiteral("kartavo-trip ");
} // namespace

TripPage::TripPage(QObject* parent) : QWebEnginePage(KartavoWebProfile(), parent) {
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
}

void TripPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                        int line, const QString& source) {
    if (!message.startsWith(kPrefix)) {
        QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
        return;
    }
    // Only our own page's scripts write these; anything that is not an object is dropped.
    const QJsonDocument document = QJsonDocument::fromJson(message.mid(kPrefix.size()).toUtf8());
    if (document.isObject())
        emit reported(document.object());
}
