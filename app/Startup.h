#pragma once

#include <memory>

class QWidget;

// Builds and shows the whole window tree and the runner, and starts loading the pages.
// Returns the main window, which the caller owns.
std::unique_ptr<QWidget> StartKartavo();

// Asks for the network and loads the map page, or the page that waits for a network.
void LoadStartPage();

// Tears down in the fixed order: map view, photo view, runner, then the windows.
void StopKartavo(std::unique_ptr<QWidget> mainWindow);

// The program's entry: command-line arguments are not used.
int WinMain(int argc, char* argv[]);
