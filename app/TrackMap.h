#pragma once

struct Track;

// The tracks on the main window's map (res/pages/track.js); nothing happens when the map
// page is not there.
void DrawTrack(int id, const Track& track, bool fitToView);
void ShowTrack(int id, bool shown);
void RemoveTrack(int id);
