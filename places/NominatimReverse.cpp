#include "places/NominatimReverse.h"

#include "places/NominatimClock.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

#include <cmath>

namespace {

constexpr int kMinimumGapMs = 1100; // as the search: never two requests within a second
constexpr int kLongestName = 200;

// About 100 m: a thousandth of a degree of latitude is 111 m.
QString CacheKey(double latitude, double longitude) {
    return QStringLiteral("%1,%2")
        .arg(std::round(latitude * 1000))
        .arg(std::round(longitude * 1000));
}

QHash<QString, PlaceName>& Cache() {
    static QHash<QString, PlaceName> cache;
    return cache;
}

QString FirstOf(const QJsonObject& address, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        const QString value = address.value(QLatin1String(key)).toString().simplified();
        if (!value.isEmpty())
            return value.left(kLongestName);
    }
    return {};
}

} // namespace

std::optional<PlaceName> ReadReverseAnswer(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject answer = document.object();
    if (answer.contains(QLatin1String("error")))
        return PlaceName();
    if (!answer.value(QLatin1String("address")).isObject())
        return std::nullopt;
    const QJsonObject address = answer.value(QLatin1String("address")).toObject();
    PlaceName name;
    name.city = FirstOf(address, {"city", "town", "village", "municipality", "hamlet"});
    name.state = FirstOf(address, {"state", "province", "region", "state_district"});
    name.country = FirstOf(address, {"country"});
    const QString code = FirstOf(address, {"country_code"}).toUpper();
    if (code.size() == 2 && code[0].isLetter() && code[1].isLetter())
        name.countryCode = code;
    return name;
}

NominatimReverse::NominatimReverse(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)),
      m_baseUrl(QStringLiteral("https://nominatim.openstreetmap.org/")) {
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, &NominatimReverse::SendNext);
    connect(m_network, &QNetworkAccessManager::finished, this, &NominatimReverse::OnFinished);
}

NominatimReverse::~NominatimReverse() {
    m_asks.clear();
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->abort();
        reply->deleteLater();
    }
}

QString NominatimReverse::Attribution() {
    return tr("Place names by Nominatim, \u00a9 OpenStreetMap contributors");
}

void NominatimReverse::Look(const QList<Ask>& asks) {
    Cancel();
    m_asks = asks;
    m_next = 0;
    emit progress(0, static_cast<int>(m_asks.size()));
    m_pending.start(0);
}

void NominatimReverse::Cancel() {
    const bool busy = IsBusy();
    m_pending.stop();
    m_asks.clear();
    m_next = 0;
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->abort();
        reply->deleteLater();
    }
    if (busy)
        emit finished(true);
}

void NominatimReverse::Done(bool cancelled) {
    m_asks.clear();
    m_next = 0;
    emit finished(cancelled);
}

void NominatimReverse::SendNext() {
    // Answers known already come at once, without a request.
    while (m_next < m_asks.size()) {
        const Ask& ask = m_asks[m_next];
        const auto cached = Cache().constFind(CacheKey(ask.latitude, ask.longitude));
        if (cached == Cache().cend())
            break;
        ++m_next;
        emit named(ask.id, *cached);
        emit progress(static_cast<int>(m_next), static_cast<int>(m_asks.size()));
    }
    if (m_next >= m_asks.size())
        return Done(false);
    QElapsedTimer& lastSent = NominatimLastSent();
    const qint64 since = lastSent.isValid() ? lastSent.elapsed() : kMinimumGapMs;
    if (since < kMinimumGapMs) {
        m_pending.start(static_cast<int>(kMinimumGapMs - since));
        return;
    }
    const Ask& ask = m_asks[m_next];
    QUrl url = m_baseUrl;
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + QStringLiteral("reverse"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("lat"), QString::number(ask.latitude, 'f', 6));
    query.addQueryItem(QStringLiteral("lon"), QString::number(ask.longitude, 'f', 6));
    query.addQueryItem(QStringLiteral("format"), QStringLiteral("jsonv2"));
    query.addQueryItem(QStringLiteral("zoom"), QStringLiteral("10")); // a city, not a street
    query.addQueryItem(QStringLiteral("addressdetails"), QStringLiteral("1"));
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setHeader(
        QNetworkRequest::UserAgentHeader,
        QStringLiteral("Kartavo/" KARTAVO_VERSION " (photo geotagging desktop tool)"));
    request.setRawHeader("Accept-Language",
                         QLocale().uiLanguages().join(QLatin1Char(',')).toUtf8());
    lastSent.start();
    m_reply = m_network->get(request);
    BoundDownload(m_reply, m_limits);
}

void NominatimReverse::OnFinished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != m_reply)
        return; // cancelled
    m_reply = nullptr;
    const Ask ask = m_asks.value(m_next);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString reason = BoundedDownloadFailure(reply);
    std::optional<PlaceName> name;
    if (reason.isEmpty() && reply->error() != QNetworkReply::NoError)
        reason = status > 0 ? tr("the server answered %1").arg(status) : reply->errorString();
    if (reason.isEmpty()) {
        name = ReadReverseAnswer(reply->readAll());
        if (!name)
            reason = tr("the answer was not a place");
    }
    if (!name) {
        emit failed(ask.id, reason);
        return Done(false);
    }
    Cache().insert(CacheKey(ask.latitude, ask.longitude), *name);
    ++m_next;
    emit named(ask.id, *name);
    emit progress(static_cast<int>(m_next), static_cast<int>(m_asks.size()));
    SendNext();
}
