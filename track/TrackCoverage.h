#pragma once

#include "track/Track.h"

#include <utility>
#include <vector>

// The stretches of time a track covers: the times of each segment's timed points, split
// where two points in time order are more than largestGapMs apart. Sorted, first to last.
std::vector<std::pair<qint64, qint64>> CoveredSpans(const Track& track, qint64 largestGapMs);
