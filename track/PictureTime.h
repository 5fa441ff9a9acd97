#pragma once

#include <QString>
#include <QTimeZone>

#include <optional>

// The camera's clock as a picture records it: DateTimeOriginal "YYYY:MM:DD HH:MM:SS[.fff]"
// and, where the camera wrote one, OffsetTimeOriginal "+02:00".
struct CameraTime {
    QString dateTime;
    QString offset;
};

// The wall-clock reading as milliseconds counted as if it were UTC; nothing when the text
// is not a date and time (cameras write "0000:00:00 00:00:00" when their clock is unset).
std::optional<qint64> WallClockMs(const QString& dateTime);

// "+02:00", "-0530", "Z" in seconds east of UTC; nothing when empty or not an offset.
std::optional<int> OffsetSeconds(const QString& offset);

// The UTC moment of a picture: its wall clock plus the camera clock correction, read in the
// picture's own offset where it has one, else in zone (summer time as the zone had it
// then), else in the computer's zone when zone is not valid.
std::optional<qint64> PictureUtcMs(const CameraTime& time, const QTimeZone& zone,
                                   qint64 correctionMs);

// The clock correction, in whole seconds, that makes the picture's time the moment utcMs.
std::optional<qint64> CorrectionForMoment(const CameraTime& time, const QTimeZone& zone,
                                          qint64 utcMs);
