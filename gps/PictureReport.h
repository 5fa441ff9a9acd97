#pragma once

#include <cstddef>
#include <functional>

constexpr std::size_t kReportFieldSize = 32;
constexpr std::size_t kReportTextSize = 128;

// What the read script's output means for the window: the pickers, the fields, the map
// and the information box.
struct PictureReport {
    // Date and time as read; the window sets the pickers only when they form a real date.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool bHasPosition = false;
    char szLatitude[kReportFieldSize] = {}; // signed decimal degrees
    char szLongitude[kReportFieldSize] = {};
    bool bHasAltitude = false;
    char szAltitude[kReportFieldSize] = {};
    char szScript[kReportTextSize] = {}; // the SetCenter call for the map page; empty: it stays
    char szText[kReportTextSize] = {};   // the information box, lines ended by "\r\n"
};

// Gives the text of the read script's printed line, or null when that line was empty.
using PrintedLine = std::function<const char*(int number)>;

// Builds the report from the read script's lines, looked up by their printed line number
// (0 date, 1 and 3 latitude, 4 and 6 longitude, 7 altitude), so a missing tag never shifts
// another into its place. hasLines is false when the script printed nothing at all.
PictureReport BuildPictureReport(bool hasLines, const PrintedLine& line, const char* picturePath,
                                 int zoom);

// The part of a path after its last "/".
const char* PictureFileName(const char* path);
