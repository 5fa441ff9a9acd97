#pragma once

class QWidget;

// Builds every control of the main window but the map, in its client area, and stores
// the fields, the information box and the image window in g_app. Returns 0.
int CreateControlPanel(QWidget* mainWindow);

// Replaces the whole text of the information box; "\r\n" may end its lines.
void SetInfoText(const char* text);
