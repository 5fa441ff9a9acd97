#pragma once

#include "places/BoundedDownload.h"
#include "places/PlaceResult.h"

#include <QHash>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

// Asks OpenStreetMap's Nominatim for places by name, in the background, as its usage policy
// asks: one request at a time and at most one a second, Kartavo's own user agent, and each
// query asked once per session (later asks are answered from memory).
class NominatimSearch : public QObject {
    Q_OBJECT

public:
    explicit NominatimSearch(QObject* parent = nullptr);
    ~NominatimSearch() override;

    // The service's address; "search" is asked below it.
    void SetBaseUrl(const QUrl& url) { m_baseUrl = url; }
    QUrl BaseUrl() const { return m_baseUrl; }
    // How large and how long an answer may be before the search gives up on it.
    void SetLimits(DownloadLimits limits) { m_limits = limits; }

    // Starts a search for query, replacing any search not answered yet. The answer comes as
    // found() or failed(), for this query only.
    void Search(const QString& query);

    // Drops the search not answered yet, if any; nothing is reported for it.
    void Cancel();

    bool IsBusy() const { return m_pending.isActive() || m_reply; }

    // The attribution the results must be shown with.
    static QString Attribution();

signals:
    void found(const QString& query, const QList<PlaceResult>& results);
    void failed(const QString& query, const QString& reason);

private:
    void Send();
    void OnFinished(QNetworkReply* reply);

    QNetworkAccessManager* m_network;
    QUrl m_baseUrl;
    DownloadLimits m_limits;
    QString m_query;
    QTimer m_pending;
    QPointer<QNetworkReply> m_reply;
    QHash<QString, QList<PlaceResult>> m_cache;
};

// Places from a Nominatim "jsonv2" answer; nothing when it is not one.
std::optional<QList<PlaceResult>> ReadNominatimAnswer(const QByteArray& json);
