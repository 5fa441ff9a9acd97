#include "track/PictureTime.h"

#include "track/IsoTime.h"

#include <QDateTime>

#include <cmath>

namespace {

// Splits "2024:05:01 10:00:00.25+02:00" into the wall clock and a trailing offset.
void Split(const QString& dateTime, QString& wall, QString& suffix) {
    wall = dateTime.trimmed();
    suffix.clear();
    for (qsizetype i = 19; i < wall.size(); ++i) {
        const QChar c = wall[i];
        if (c == u'+' || c == u'-' || c == u'Z' || c == u'z') {
            suffix = wall.mid(i);
            wall.truncate(i);
            return;
        }
    }
}

QTimeZone ZoneOrSystem(const QTimeZone& zone) {
    return zone.isValid() ? zone : QTimeZone::systemTimeZone();
}

} // namespace

std::optional<qint64> WallClockMs(const QString& dateTime) {
    QString wall, suffix;
    Split(dateTime, wall, suffix);
    // Exif separates the date with colons; make it ISO and read it without a zone.
    if (wall.size() < 19 || wall[4] != u':' || wall[7] != u':')
        return std::nullopt;
    wall[4] = u'-';
    wall[7] = u'-';
    return ParseIsoUtcMs(wall);
}

std::optional<int> OffsetSeconds(const QString& offset) {
    const QString text = offset.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (text == u"Z" || text == u"z")
        return 0;
    // Borrow the ISO reader: the offset of a known moment.
    const auto ms = ParseIsoUtcMs(QStringLiteral("1970-01-01T00:00:00") + text);
    if (!ms)
        return std::nullopt;
    return static_cast<int>(-*ms / 1000);
}

std::optional<qint64> PictureUtcMs(const CameraTime& time, const QTimeZone& zone,
                                   qint64 correctionMs) {
    const auto wall = WallClockMs(time.dateTime);
    if (!wall)
        return std::nullopt;
    const qint64 corrected = *wall + correctionMs;
    QString rest, suffix;
    Split(time.dateTime, rest, suffix);
    auto offset = OffsetSeconds(time.offset);
    if (!offset)
        offset = OffsetSeconds(suffix);
    if (offset)
        return corrected - qint64(*offset) * 1000;
    const QDateTime asUtc = QDateTime::fromMSecsSinceEpoch(corrected, QTimeZone::utc());
    return QDateTime(asUtc.date(), asUtc.time(), ZoneOrSystem(zone)).toMSecsSinceEpoch();
}

std::optional<qint64> CorrectionForMoment(const CameraTime& time, const QTimeZone& zone,
                                          qint64 utcMs) {
    const auto wall = WallClockMs(time.dateTime);
    if (!wall)
        return std::nullopt;
    QString rest, suffix;
    Split(time.dateTime, rest, suffix);
    auto offset = OffsetSeconds(time.offset);
    if (!offset)
        offset = OffsetSeconds(suffix);
    qint64 targetWall = 0;
    if (offset) {
        targetWall = utcMs + qint64(*offset) * 1000;
    } else {
        const QDateTime there = QDateTime::fromMSecsSinceEpoch(utcMs, ZoneOrSystem(zone));
        targetWall = utcMs + qint64(there.offsetFromUtc()) * 1000;
    }
    return std::llround(static_cast<double>(targetWall - *wall) / 1000.0) * 1000;
}
