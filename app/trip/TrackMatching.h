#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class PictureList;
class TrackMatcher;

struct MatchSettings {
    QByteArray zoneId;       // the camera's zone; empty or unknown: the computer's
    qint64 correctionMs = 0; // added to the camera's clock
    qint64 largestGapMs = 60000;
};

struct MatchCounts {
    int interpolated = 0;
    int nearest = 0;
    int none = 0;   // no track at that time
    int noTime = 0; // the picture gives no time, or was not read yet
};

// Gives the rows their position on the tracks as new positions waiting to be written, or
// takes the new position away saying why there is none.
MatchCounts MatchRows(PictureList& list, const QList<int>& rows, const TrackMatcher& matcher,
                      const MatchSettings& settings);

QString DescribeCounts(const MatchCounts& counts);
