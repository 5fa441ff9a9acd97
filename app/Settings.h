#pragma once

#include <optional>
#include <string>

// Group "Kartavo" of Kartavo/Kartavo.ini in the user's configuration folder.
struct StoredSettings {
    int xPos = 0;
    int yPos = 0;
    char szPosition[64] = {}; // the last map title, kept but not used
};

StoredSettings ReadSettings();

// Writes the window's top-left corner and the map title; no title removes "Position".
void SaveSettings(int xPos, int yPos, const std::optional<std::string>& position);

// Full path of the settings file, for the README and the tests.
std::string SettingsFilePath();
