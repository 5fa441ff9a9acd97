#pragma once

class QWidget;

// Shows what the read script reported about a picture (picturePath, by default the current
// one): the pickers, the fields, the map, the altitude for the next write and the
// information box; then deletes the script's temporary file. Returns 0 when the script
// printed nothing, 1 otherwise.
int ReportPictureInfo(QWidget* mainWindow, const char* picturePath = nullptr);
