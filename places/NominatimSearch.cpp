#include "places/NominatimSearch.h"

#include "places/BoundedDownload.h"
#include "places/CitySearch.h"
#include "places/NominatimClock.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

#include <cmath>

namespace {

// A little over a second, so that the server never sees two requests within one even when
// the first was slow on its way.
constexpr int kMinimumGapMs = 1100;
constexpr int kTransferTimeoutMs = 20000;
constexpr int kResultLimit = 10;

// The zoom that shows a box of that many degrees across the map.
int ZoomForSpan(double degrees) {
    if (!(degrees > 0))
        return 16;
    const int zoom = static_cast<int>(std::floor(std::log2(360.0 / degrees))) + 1;
    return qBound(2, zoom, 18);
}

// One clock for the whole program: the limit holds for the service, not for one box.
QElapsedTimer& LastSent() {
    return NominatimLastSent();
}

} // namespace

std::optional<QList<PlaceResult>> ReadNominatimAnswer(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<PlaceResult> results;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject place = value.toObject();
        bool latitudeOk = false;
        bool longitudeOk = false;
        PlaceResult result;
        result.latitude = place.value(QStringLiteral("lat")).toString().toDouble(&latitudeOk);
        result.longitude = place.value(QStringLiteral("lon")).toString().toDouble(&longitudeOk);
        if (!latitudeOk || !longitudeOk || !(std::fabs(result.latitude) <= 90) ||
            !(std::fabs(result.longitude) <= 180))
            continue;
        const QString address = place.value(QStringLiteral("display_name")).toString();
        result.name = place.value(QStringLiteral("name")).toString();
        if (result.name.isEmpty())
            result.name = address.section(QLatin1Char(','), 0, 0).trimmed();
        result.detail = address;
        const QJsonArray box = place.value(QStringLiteral("boundingbox")).toArray();
        if (box.size() == 4) {
            const double span =
                std::max(std::fabs(box[1].toString().toDouble() - box[0].toString().toDouble()),
                         std::fabs(box[3].toString().toDouble() - box[2].toString().toDouble()));
            result.zoom = ZoomForSpan(span);
        } else {
            result.zoom = 16;
        }
        results << result;
    }
    return results;
}

NominatimSearch::NominatimSearch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)),
      m_baseUrl(QStringLiteral("https://nominatim.openstreetmap.org/")) {
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, &NominatimSearch::Send);
    connect(m_network, &QNetworkAccessManager::finished, this, &NominatimSearch::OnFinished);
}

NominatimSearch::~NominatimSearch() {
    Cancel();
}

QString NominatimSearch::Attribution() {
    return QStringLiteral("Search by Nominatim, \u00a9 OpenStreetMap contributors");
}

void NominatimSearch::Search(const QString& query) {
    Cancel();
    m_query = query.simplified();
    if (m_query.isEmpty())
        return;
    const QString key = FoldedQuery(m_query);
    if (m_cache.contains(key)) {
        // Reported from the event loop, as an answer from the network would be.
        m_pending.start(0);
        return;
    }
    const qint64 since = LastSent().isValid() ? LastSent().elapsed() : kMinimumGapMs;
    m_pending.start(static_cast<int>(std::max<qint64>(0, kMinimumGapMs - since)));
}

void NominatimSearch::Cancel() {
    m_pending.stop();
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->abort();
        reply->deleteLater();
    }
}

void NominatimSearch::Send() {
    const QString key = FoldedQuery(m_query);
    if (const auto cached = m_cache.constFind(key); cached != m_cache.cend()) {
        emit found(m_query, *cached);
        return;
    }
    QUrl url = m_baseUrl;
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + QStringLiteral("search"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("q"), m_query);
    query.addQueryItem(QStringLiteral("format"), QStringLiteral("jsonv2"));
    query.addQueryItem(QStringLiteral("limit"), QString::number(kResultLimit));
    url.setQuery(query);

    QNetworkRequest request(url);
    request.setHeader(
        QNetworkRequest::UserAgentHeader,
        QStringLiteral("Kartavo/" KARTAVO_VERSION " (photo geotagging desktop tool)"));
    request.setRawHeader("Accept-Language",
                         QLocale().uiLanguages().join(QLatin1Char(',')).toUtf8());
    request.setTransferTimeout(kTransferTimeoutMs);
    LastSent().start();
    m_reply = m_network->get(request);
    BoundDownload(m_reply, m_limits);
    m_reply->setProperty("kartavoQuery", m_query);
}

void NominatimSearch::OnFinished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != m_reply)
        return; // cancelled
    m_reply = nullptr;
    const QString query = reply->property("kartavoQuery").toString();
    if (const QString bounded = BoundedDownloadFailure(reply); !bounded.isEmpty()) {
        emit failed(query, bounded);
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        const QString reason =
            status > 0
                ? QStringLiteral("the server answered %1 %2")
                      .arg(status)
                      .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                      .trimmed()
                : reply->errorString();
        emit failed(query, reason);
        return;
    }
    const auto results = ReadNominatimAnswer(reply->readAll());
    if (!results) {
        emit failed(query, QStringLiteral("the answer was not a list of places"));
        return;
    }
    m_cache.insert(FoldedQuery(query), *results);
    emit found(query, *results);
}
