#pragma once

#include "track/Track.h"

#include <QString>

#include <atomic>
#include <functional>

// What to keep of a location history.
struct LocationHistoryOptions {
    qint64 fromMs = std::numeric_limits<qint64>::min(); // UTC, both ends kept
    qint64 toMs = std::numeric_limits<qint64>::max();
    double maxAccuracyMetres = 200; // points said to be less accurate are left out
    const std::atomic<bool>* cancel = nullptr;
    // Bytes read and the file's size, now and then, on the reading thread.
    std::function<void(qint64 done, qint64 total)> progress;
};

struct LocationHistoryResult {
    bool ok = false;
    QString error; // why nothing was loaded, when !ok
    Track track;   // the kept points in time order, one segment
    int kept = 0;
    int outside = 0;    // outside the time range
    int inaccurate = 0; // less accurate than asked
    int bad = 0;        // unreadable or impossible positions or times
};

// Reads a location history exported from a phone or an account, streaming, so that files of
// gigabytes keep little in memory: the account export ("locations" with latitudeE7,
// longitudeE7, accuracy and timestamp or timestampMs), the phone's Timeline export
// ("semanticSegments" with timelinePath points "48.1°, 11.5°" and their times, and
// "rawSignals" positions), and the form of segments whose timelinePath points are
// "geo:48.1,11.5" with minutes from the segment's start. A file that is none of these, or
// is broken or cut short anywhere, loads nothing.
LocationHistoryResult ReadLocationHistory(const QString& path,
                                          const LocationHistoryOptions& options = {});

// "12,345 points kept; 3 left out as unreadable, ..." for the user.
QString DescribeLocationHistory(const LocationHistoryResult& result);
