#pragma once

// Track > Use Pictures with Positions as a Track: the listed pictures that have a position
// become a track in the Tracks window, for matching the others.
void UsePicturesAsTrack();
