#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A listed picture as the trip keeps it: its file, and the new position waiting for it.
struct SessionPicture {
    QByteArray path; // the name's own bytes
    bool waiting = false;
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude;
    QDateTime utcTime;
    QString how;
};

// What the user was doing: listed files, waiting positions and how each was found, open
// tracks, and how pictures are matched to them.
struct TripSession {
    QList<SessionPicture> pictures;
    QStringList tracks;
    QByteArray zoneId;
    qint64 correctionMs = 0;
    qint64 largestGapMs = 60000;

    int WaitingCount() const;
    bool IsEmpty() const { return pictures.isEmpty() && tracks.isEmpty(); }
};

QByteArray SessionToJson(const TripSession& session);
// The whole session or nothing: a file that is not one of ours, or has one bad entry, is
// refused and problem says why.
std::optional<TripSession> SessionFromJson(const QByteArray& json, QString* problem);

// Under the user's data folder, beside the undo journal.
QString SessionFilePath();
