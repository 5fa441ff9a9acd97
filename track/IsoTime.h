#pragma once

#include <QStringView>

#include <optional>

// An ISO 8601 date and time as GPX writes it, "2024-05-01T10:00:00Z", with any number of
// fraction digits and a zone of "Z", "+02:00", "+0200" or "+02"; without a zone it is UTC,
// as GPX defines its times. Returns milliseconds since 1970-01-01 UTC (fractions below a
// millisecond are rounded), or nothing when the text is not such a time.
std::optional<qint64> ParseIsoUtcMs(QStringView text);

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
qint64 DaysFromCivil(int year, int month, int day);
