#include "track/TimeText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <cstdlib>

std::optional<qint64> ParseClockCorrection(const QString& text) {
    QString t = text;
    t.remove(u' ');
    if (t.isEmpty())
        return std::nullopt;
    qint64 sign = 1;
    if (t[0] == u'+' || t[0] == u'-' || t[0] == u'\u2212') {
        sign = t[0] == u'+' ? 1 : -1;
        t.remove(0, 1);
    }
    const QStringList parts = t.split(u':');
    if (parts.size() > 3)
        return std::nullopt;
    qint64 values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const qint64 v = parts[i].toLongLong(&ok);
        // Leading figure may be any size; those after a colon are minutes or seconds.
        if (!ok || v < 0 || (i > 0 && v > 59) || parts[i].startsWith(u'+') || v > 100000)
            return std::nullopt;
        values[i] = v;
    }
    qint64 seconds = 0;
    if (parts.size() == 1)
        seconds = values[0];
    else if (parts.size() == 2)
        seconds = values[0] * 3600 + values[1] * 60;
    else
        seconds = values[0] * 3600 + values[1] * 60 + values[2];
    return sign * seconds * 1000;
}

QString FormatClockCorrection(qint64 ms) {
    const qint64 s = std::llabs(ms) / 1000;
    return QStringLiteral("%1%2:%3:%4")
        .arg(QChar(ms < 0 ? u'-' : u'+'))
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString FormatDuration(qint64 ms) {
    const qint64 s = std::llabs(ms) / 1000;
    if (s < 60)
        return QCoreApplication::translate("TimeText", "%1 s").arg(s);
    if (s < 3600)
        return QCoreApplication::translate("TimeText", "%1 min").arg(s / 60);
    if (s < 86400)
        return QCoreApplication::translate("TimeText", "%1 h %2 min")
            .arg(s / 3600)
            .arg(s / 60 % 60);
    return QCoreApplication::translate("TimeText", "%1 days %2 h")
        .arg(s / 86400)
        .arg(s / 3600 % 24);
}

QString FormatTimeSpan(qint64 firstMs, qint64 lastMs, const QTimeZone& zone) {
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(firstMs, zone);
    const QDateTime last = QDateTime::fromMSecsSinceEpoch(lastMs, zone);
    const QString start = first.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString end =
        last.toString(first.date() == last.date() ? QStringLiteral("HH:mm:ss")
                                                  : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString endName = zone.abbreviation(last);
    if (first.offsetFromUtc() == last.offsetFromUtc())
        return QStringLiteral("%1 – %2 %3").arg(start, end, endName);
    return QStringLiteral("%1 %2 – %3 %4").arg(start, zone.abbreviation(first), end, endName);
}
