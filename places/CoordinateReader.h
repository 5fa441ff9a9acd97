#pragma once

#include <QString>

#include <optional>

// A position read from text that a user typed or copied from elsewhere.
struct ReadPosition {
    double latitude = 0;
    double longitude = 0;
    std::optional<int> zoom; // only map links carry one
};

// Reads a latitude and longitude from text in any common form: decimal degrees with a
// comma or a blank between them ("48.8584, 2.2945"), with signs or hemisphere letters
// before or after, degrees-minutes(-seconds) with or without marks (48°51'30.2"N,
// "N 48° 51.503'", "48 51 30.24 N"), geo: addresses and web map links (#map=Z/LAT/LON,
// mlat=/mlon=, ?q=LAT,LON, @LAT,LON,Zz), also in parentheses. A comma is never a decimal mark:
// "48,85 2,29" is refused, and "37,5" too, as it may be one. Nothing when the text is no position,
// a value is out of range, or a part of the text is left over.
std::optional<ReadPosition> ReadCoordinates(const QString& text);

// A coordinate as the fields show it: decimal degrees, at most eight decimals, no
// trailing zeros.
QString DecimalDegreesText(double degrees);
