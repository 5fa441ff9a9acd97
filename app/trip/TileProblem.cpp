#include "app/trip/TileProblem.h"

#include "webview/WebProfile.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// A tile is a few tens of kilobytes; the question only needs the answer's head.
constexpr int kTimeoutMs = 10000;
} // namespace

TileProblem::TileProblem(QObject* parent) : QObject(parent) {}

void TileProblem::Check(const QUrl& tile) {
    if (m_reply || !tile.isValid() || tile.scheme().isEmpty())
        return;
    if (m_network == nullptr)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(tile);
    request.setHeader(QNetworkRequest::UserAgentHeader, KartavoUserAgent());
    request.setTransferTimeout(kTimeoutMs);
    m_reply = m_network->get(request);
    const QString host = tile.host();
    QNetworkReply* reply = m_reply;
    // The status is all that is wanted: the body is never kept.
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply] {
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            QMetaObject::invokeMethod(
                reply,
                [reply] {
                    if (!reply->isFinished())
                        reply->abort();
                },
                Qt::QueuedConnection);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, host] {
        reply->deleteLater();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        QString why;
        if (status.isValid() && status.toInt() >= 400) {
            why = tr("the server answered %1 %2")
                      .arg(status.toInt())
                      .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        } else if (!status.isValid() && reply->error() != QNetworkReply::NoError &&
                   reply->error() != QNetworkReply::OperationCanceledError) {
            why = reply->errorString();
        }
        if (why.isEmpty())
            return; // it loads now: a passing fault
        m_shown = true;
        emit found(tr("Map tiles cannot be loaded from %1: %2. Tiles seen before still show.")
                       .arg(host, why.trimmed()));
    });
}

void TileProblem::Clear() {
    if (m_shown) {
        m_shown = false;
        emit found(QString());
    }
}
