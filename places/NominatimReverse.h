#pragma once

#include "places/BoundedDownload.h"
#include "places/PlaceNames.h"

#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

// Names places by asking Nominatim's reverse search, one position after another, on
// request only: at most one request a second program-wide (shared with the search by
// name), each position rounded to about 100 m and asked once per session.
class NominatimReverse : public QObject {
    Q_OBJECT

public:
    struct Ask {
        int id = 0;
        double latitude = 0;
        double longitude = 0;
    };

    explicit NominatimReverse(QObject* parent = nullptr);
    ~NominatimReverse() override;

    // The service's address; "reverse" is asked below it.
    void SetBaseUrl(const QUrl& url) { m_baseUrl = url; }
    // How large and how long an answer may be before the request is given up.
    void SetLimits(DownloadLimits limits) { m_limits = limits; }

    // Asks for each position in turn, replacing any asks not answered yet.
    void Look(const QList<Ask>& asks);
    // Drops what is not answered yet; finished(true) follows.
    void Cancel();
    bool IsBusy() const { return m_next < m_asks.size() || m_reply; }

    // The attribution the names must be shown with.
    static QString Attribution();

signals:
    // No name was found where name is empty (at sea, say).
    void named(int id, const PlaceName& name);
    // The service could not be asked; the asks after it are dropped.
    void failed(int id, const QString& reason);
    void progress(int done, int total);
    void finished(bool cancelled);

private:
    void SendNext();
    void OnFinished(QNetworkReply* reply);
    void Done(bool cancelled);

    QNetworkAccessManager* m_network;
    QUrl m_baseUrl;
    DownloadLimits m_limits;
    QList<Ask> m_asks;
    qsizetype m_next = 0;
    QTimer m_pending;
    QPointer<QNetworkReply> m_reply;
};

// The place of a Nominatim "jsonv2" reverse answer: empty names for its "no place here"
// answer, nothing when it is not an answer at all.
std::optional<PlaceName> ReadReverseAnswer(const QByteArray& json);
