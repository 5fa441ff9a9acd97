#pragma once

#include <memory>

class KartavoWindow;
class QWidget;

// Builds the main window "Kartavo 1.0.0" with its menu at (x, y), width by height.
// The controls go into its client area, the returned window's "client" child.
std::unique_ptr<KartavoWindow> CreateMainWindow(int x, int y, int width, int height);

// The area below the menu bar that holds the controls and the map host.
QWidget* ClientArea(QWidget* mainWindow);

// Gives the main window its icon, once: read while it starts, the icon would delay the map.
void SetMainWindowIcon(QWidget* mainWindow);
