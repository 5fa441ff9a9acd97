#include "app/FieldsPosition.h"

#include "app/ControlPanel.h"
#include "base/AppState.h"
#include "gps/CoordinateCheck.h"
#include "gps/DecimalText.h"
#include "gps/GPSArguments.h"

namespace {

double FieldValue(const char* text) {
    const double size = ReadDecimal(TrimDashes(text));
    return text[0] == '-' ? -size : size;
}

} // namespace

std::optional<FieldsPosition> ReadFieldsPosition(QString* problem) {
    char latitude[kFieldTextSize];
    char longitude[kFieldTextSize];
    ReadField(g_app.wndLatitude, latitude);
    ReadField(g_app.wndLongitude, longitude);
    char why[96];
    if (!CheckCoordinateFields(latitude, longitude, why, sizeof why)) {
        if (problem)
            *problem = QString::fromUtf8(why);
        return std::nullopt;
    }
    return FieldsPosition{FieldValue(latitude), FieldValue(longitude)};
}
