#pragma once

#include "track/Track.h"

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

struct GpxResult {
    bool ok = false;
    QString error;             // why nothing was loaded, with the line, when !ok
    std::vector<Track> tracks; // every track and route of the file, empty when !ok
    QStringList notes;         // things worth telling that did not stop the reading
};

// Reads a GPX 1.0 or 1.1 file: every track with every segment, and every route (drawn, but
// with no times, as a route is a plan rather than a record); or a KML file's tracks
// (track/KmlReader.h). Points without a readable time are kept for drawing. A file that is
// neither, or breaks part way, loads nothing.
GpxResult ReadGpxFile(const QString& path);
GpxResult ReadGpx(QIODevice& device, const QString& path);
