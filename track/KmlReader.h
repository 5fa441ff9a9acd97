#pragma once

#include "track/Track.h"

#include <vector>

class QXmlStreamReader;

// Reads the tracks of a KML document whose root element was just read: each Placemark's
// timed tracks (<gx:Track>, also inside <gx:MultiTrack>, and KML 2.3's <Track>) with their
// times, and its lines (<LineString>) for drawing. Faults are raised on xml, with its line.
void ReadKmlTracks(QXmlStreamReader& xml, const QString& path, std::vector<Track>& tracks);
