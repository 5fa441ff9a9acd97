#include "session/TripSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>

namespace {

const QString kFormat = QStringLiteral("kartavo-trip");
constexpr int kVersion = 1;
// Far beyond any trip; a larger file is not ours.
constexpr qsizetype kLargestFile = 256 * 1024 * 1024;

bool Refuse(QString* problem, const QString& why) {
    if (problem != nullptr)
        *problem = why;
    return false;
}

bool ReadPicture(const QJsonObject& object, SessionPicture* picture, QString* problem) {
    const QJsonValue path = object.value(QStringLiteral("path"));
    if (!path.isString())
        return Refuse(problem, QStringLiteral("a picture without a file name"));
    picture->path =
        QByteArray::fromBase64(path.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (picture->path.isEmpty() || picture->path.contains('\0'))
        return Refuse(problem, QStringLiteral("a picture's file name is damaged"));
    const QJsonValue place = object.value(QStringLiteral("new"));
    if (place.isUndefined() || place.isNull())
        return true;
    const QJsonObject p = place.toObject();
    const QJsonValue lat = p.value(QStringLiteral("lat"));
    const QJsonValue lon = p.value(QStringLiteral("lon"));
    if (!lat.isDouble() || !lon.isDouble() || std::fabs(lat.toDouble()) > 90 ||
        std::fabs(lon.toDouble()) > 180)
        return Refuse(problem, QStringLiteral("a waiting position is not a position"));
    picture->waiting = true;
    picture->latitude = lat.toDouble();
    picture->longitude = lon.toDouble();
    const QJsonValue alt = p.value(QStringLiteral("alt"));
    if (alt.isDouble())
        picture->altitude = alt.toDouble();
    else if (!alt.isUndefined() && !alt.isNull())
        return Refuse(problem, QStringLiteral("a waiting altitude is not a number"));
    const QString utc = p.value(QStringLiteral("utc")).toString();
    if (!utc.isEmpty()) {
        picture->utcTime = QDateTime::fromString(utc, Qt::ISODateWithMs);
        if (!picture->utcTime.isValid())
            return Refuse(problem, QStringLiteral("a waiting time is not a time"));
        picture->utcTime = picture->utcTime.toUTC();
    }
    picture->how = p.value(QStringLiteral("how")).toString();
    return true;
}

} // namespace

int TripSession::WaitingCount() const {
    int count = 0;
    for (const SessionPicture& picture : pictures)
        count += picture.waiting ? 1 : 0;
    return count;
}

QByteArray SessionToJson(const TripSession& session) {
    const QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("tracks"), QJsonArray::fromStringList(session.tracks)},
        {QStringLiteral("zone"), QString::fromUtf8(session.zoneId)},
        // Whole milliseconds fit a double exactly far beyond any correction.
        {QStringLiteral("correctionMs"), static_cast<double>(session.correctionMs)},
        {QStringLiteral("largestGapMs"), static_cast<double>(session.largestGapMs)},
    };
    // The pictures are written as text: a year of them made into JSON objects first took
    // twice the room of the text, on top of it.
    QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Compact);
    text.chop(1); // the closing brace
    text.reserve(text.size() + session.pictures.size() * 80);
    text += ",\"pictures\":[";
    for (const SessionPicture& picture : session.pictures) {
        if (&picture != &session.pictures.front())
            text += ',';
        // Base64 needs no escaping.
        text += "{\"path\":\"" + picture.path.toBase64() + '"';
        if (picture.waiting) {
            QJsonObject place{{QStringLiteral("lat"), picture.latitude},
                              {QStringLiteral("lon"), picture.longitude},
                              {QStringLiteral("how"), picture.how}};
            if (picture.altitude)
                place.insert(QStringLiteral("alt"), *picture.altitude);
            if (picture.utcTime.isValid())
                place.insert(QStringLiteral("utc"),
                             picture.utcTime.toUTC().toString(Qt::ISODateWithMs));
            text += ",\"new\":" + QJsonDocument(place).toJson(QJsonDocument::Compact);
        }
        text += '}';
    }
    text += "]}";
    return text;
}

std::optional<TripSession> SessionFromJson(const QByteArray& json, QString* problem) {
    if (json.size() > kLargestFile) {
        Refuse(problem, QStringLiteral("it is far too large to be a trip"));
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        root.value(QStringLiteral("format")).toString() != kFormat) {
        Refuse(problem, QStringLiteral("it is not a Kartavo trip"));
        return std::nullopt;
    }
    if (root.value(QStringLiteral("version")).toInt() != kVersion) {
        Refuse(problem, QStringLiteral("it was written by another version of Kartavo"));
        return std::nullopt;
    }
    TripSession session;
    const QJsonValue pictures = root.value(QStringLiteral("pictures"));
    const QJsonValue tracks = root.value(QStringLiteral("tracks"));
    const QJsonValue correction = root.value(QStringLiteral("correctionMs"));
    const QJsonValue gap = root.value(QStringLiteral("largestGapMs"));
    if (!pictures.isArray() || !tracks.isArray() || !correction.isDouble() || !gap.isDouble() ||
        gap.toDouble() < 1000 || std::fabs(correction.toDouble()) > 1e13) {
        Refuse(problem, QStringLiteral("it is damaged"));
        return std::nullopt;
    }
    for (const QJsonValue& value : pictures.toArray()) {
        SessionPicture picture;
        if (!value.isObject() || !ReadPicture(value.toObject(), &picture, problem)) {
            if (!value.isObject())
                Refuse(problem, QStringLiteral("it is damaged"));
            return std::nullopt;
        }
        session.pictures << picture;
    }
    for (const QJsonValue& value : tracks.toArray()) {
        if (!value.isString() || value.toString().isEmpty()) {
            Refuse(problem, QStringLiteral("a track's file name is damaged"));
            return std::nullopt;
        }
        session.tracks << value.toString();
    }
    session.zoneId = root.value(QStringLiteral("zone")).toString().toUtf8();
    session.correctionMs = static_cast<qint64>(correction.toDouble());
    session.largestGapMs = static_cast<qint64>(gap.toDouble());
    return session;
}

QString SessionFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kartavo/session.json");
}
