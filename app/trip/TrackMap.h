#pragma once

#include <QByteArray>

struct Track;

// The tracks on the maps (res/pages/track.js): the main window's and the trip window's;
// nothing happens on a map whose page is not there.
void DrawTrack(int id, const Track& track, bool fitToView);
void ShowTrack(int id, bool shown);
void RemoveTrack(int id);

// The scripts themselves, for one map.
QByteArray TrackScript(int id, const Track& track, bool fitToView);
QByteArray ShowTrackScript(int id, bool shown);

// The colour a track is drawn in, as the map page picks it.
const char* TrackColour(int id);
