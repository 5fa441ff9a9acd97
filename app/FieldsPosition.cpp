#include "app/FieldsPosition.h"

#include "app/ControlPanel.h"
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
    char why[96];
    if (!ReadPositionFields(latitude, longitude, why, sizeof why)) {
        if (problem)
            *problem = QString::fromUtf8(why);
        return std::nullopt;
    }
    return FieldsPosition{FieldValue(latitude), FieldValue(longitude)};
}
