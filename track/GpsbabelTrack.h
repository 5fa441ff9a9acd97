#pragma once

#include "track/GpxReader.h"

#include <QString>
#include <QStringList>

#include <atomic>

// Track formats other than GPX and KML, read by converting them to GPX with gpsbabel.
struct GpsbabelOptions {
    QString program = QStringLiteral("gpsbabel");
    int timeLimitMs = 120000;                  // a hanging gpsbabel is ended after this
    const std::atomic<bool>* cancel = nullptr; // set from another thread to stop
};

// gpsbabel's format name for a file name's extension ("ride.fit" -> "garmin_fit"), empty
// when the extension is none gpsbabel is asked to read.
QString GpsbabelFormat(const QString& path);

// The file dialog's patterns for the formats read through gpsbabel ("*.fit *.FIT ...").
QStringList GpsbabelPatterns();

// Runs `gpsbabel -i format -f path -o gpx -F -` (an argument vector, no shell) and reads its
// output with the GPX reader, which names the tracks after path. A refusal gives gpsbabel's
// first error line whole; a missing, crashing, hanging or cancelled gpsbabel loads nothing.
GpxResult ReadWithGpsbabel(const QString& path, const QString& format,
                           const GpsbabelOptions& options = {});

// Any track file: GPX and KML read directly, the others through gpsbabel.
GpxResult ReadTrackFile(const QString& path, const GpsbabelOptions& options = {});
