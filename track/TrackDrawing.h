#pragma once

#include "track/Track.h"

#include <vector>

// The points of a segment worth drawing: those that leave the line more than tolerance
// degrees (longitude scaled to the latitude) away from the drawn one, first and last kept.
// Only for the map; matching always uses every point.
std::vector<std::size_t> PointsToDraw(const TrackSegment& segment, double toleranceDegrees);
