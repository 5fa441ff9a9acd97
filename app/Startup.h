#pragma once

#include <memory>

class QWidget;

// Builds and shows the whole window tree and the runner, and arms the start-up timer.
// Returns the main window, which the caller owns.
std::unique_ptr<QWidget> StartKartavo();

// Runs once, 100 ms after the window is shown: asks for the network and loads the map.
void StartupTimerProc();

// Tears down in the fixed order: map view, photo view, runner, then the windows.
void StopKartavo(std::unique_ptr<QWidget> mainWindow);

// The program's entry: command-line arguments are not used.
int WinMain(int argc, char* argv[]);
