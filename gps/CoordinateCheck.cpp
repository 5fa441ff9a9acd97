#include "gps/CoordinateCheck.h"

#include "gps/DecimalText.h"
#include "gps/GPSArguments.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// Writing 0,0 or a misread number into a picture would replace the user's real position.
bool CheckField(const char* name, const char* text, int limit, char* message, std::size_t size) {
    const std::string_view raw = text ? text : "";
    const std::string_view number = TrimDashes(raw);
    const bool empty = raw.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos;
    const bool numeric = !empty && IsPlainDecimal(number);
    if (numeric && std::fabs(ReadDecimal(number)) <= limit)
        return true;
    if (message && size > 0) {
        if (empty)
            std::snprintf(message, size, "%s is empty", name);
        else if (!numeric)
            std::snprintf(message, size, "%s is not a number", name);
        else
            std::snprintf(message, size, "%s must be between -%d and %d", name, limit, limit);
    }
    return false;
}

} // namespace

bool CheckCoordinateFields(const char* latitude, const char* longitude, char* message,
                           std::size_t size) {
    if (!CheckField("Latitude", latitude, 90, message, size) ||
        !CheckField("Longitude", longitude, 180, message, size))
        return false;
    if (message && size > 0)
        message[0] = '\0';
    return true;
}
