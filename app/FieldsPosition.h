#pragma once

#include <QString>

#include <optional>

struct FieldsPosition {
    double latitude = 0;
    double longitude = 0;
};

// The main window's Latitude and Longitude fields read as a record reads them (a leading
// "-" gives the sign); nothing, and the reason in problem, when they hold no usable position.
std::optional<FieldsPosition> ReadFieldsPosition(QString* problem);
