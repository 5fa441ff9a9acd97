#include "app/trip/TrackMatching.h"

#include "pictures/PictureList.h"
#include "track/PictureTime.h"
#include "track/TimeText.h"
#include "track/TrackMatcher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>

namespace {
QString Tr(const char* text) {
    return QCoreApplication::translate("TrackMatching", text);
}
} // namespace

MatchCounts MatchRows(PictureList& list, const QList<int>& rows, const TrackMatcher& matcher,
                      const MatchSettings& settings) {
    MatchCounts counts;
    const QTimeZone zone =
        settings.zoneId.isEmpty() ? QTimeZone::systemTimeZone() : QTimeZone(settings.zoneId);
    for (int row : rows) {
        if (row < 0 || row >= list.Count())
            continue;
        const PictureRead& info = list.Info(row);
        const auto utc =
            list.IsRead(row) && info.ok
                ? PictureUtcMs(CameraTime{info.dateTime, info.offset}, zone, settings.correctionMs)
                : std::nullopt;
        if (!utc) {
            ++counts.noTime;
            list.ClearNewPosition(row, list.IsRead(row) ? Tr("the picture gives no time taken")
                                                        : Tr("not read yet"));
            continue;
        }
        const MatchResult r = matcher.Match(*utc, settings.largestGapMs);
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(*utc, Qt::UTC);
        switch (r.kind) {
        case MatchKind::Interpolated:
            ++counts.interpolated;
            list.SetNewPosition(row, r.latitude, r.longitude, r.elevation, when,
                                Tr("interpolated"));
            break;
        case MatchKind::NearestPoint:
            ++counts.nearest;
            list.SetNewPosition(row, r.latitude, r.longitude, r.elevation, when,
                                Tr("nearest point (%1 off)").arg(FormatDuration(r.nearestOffMs)));
            break;
        case MatchKind::NoMatch:
            ++counts.none;
            list.ClearNewPosition(
                row,
                r.nearestOffMs < 0
                    ? Tr("no track at that time")
                    : Tr("no track at that time (%1 off)").arg(FormatDuration(r.nearestOffMs)));
            break;
        }
    }
    return counts;
}

QString DescribeCounts(const MatchCounts& c) {
    QStringList parts;
    parts << Tr("%1 placed between track points").arg(PictureList::PictureCount(c.interpolated));
    if (c.nearest)
        parts << Tr("%1 at the nearest point").arg(c.nearest);
    if (c.none)
        parts << Tr("%1 with no track at their time").arg(c.none);
    if (c.noTime)
        parts << Tr("%1 without a time").arg(c.noTime);
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}
