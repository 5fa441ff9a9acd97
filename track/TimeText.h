#pragma once

#include <QString>
#include <QTimeZone>

#include <optional>

// A camera clock correction as the user types it: "+1:02:03", "-0:00:30", "-1:30" (hours and
// minutes), "+45" (seconds), blanks allowed; in milliseconds, nothing when not such a text.
std::optional<qint64> ParseClockCorrection(const QString& text);

// The same form back: "+1:02:03", "-0:00:30", "+0:00:00".
QString FormatClockCorrection(qint64 ms);

// A length of time for people: "45 s", "12 min", "3 h 20 min", "2 days 4 h".
QString FormatDuration(qint64 ms);

// A time span in zone: "2024-07-01 11:00:00 – 11:10:00 CEST", the end's date only when it
// falls on another day there, and each end's abbreviation when the zone's offset changes
// in between ("2024-10-27 01:30:00 CEST – 03:00:00 CET").
QString FormatTimeSpan(qint64 firstMs, qint64 lastMs, const QTimeZone& zone);
