#include "gps/DecimalToDMS.h"

#include "gps/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace {

// "%.4f" as the C locale writes it: the write script needs a point, not the user's comma.
void FormatSeconds(double s, char seconds[kDMSTextSize]) {
    const auto result =
        std::to_chars(seconds, seconds + kDMSTextSize - 1, s, std::chars_format::fixed, 4);
    if (result.ec == std::errc())
        *result.ptr = '\0';
    else
        std::snprintf(seconds, kDMSTextSize, "0.0000");
}

} // namespace

int DecimalToDMS(const char* text, char degrees[kDMSTextSize], char minutes[kDMSTextSize],
                 char seconds[kDMSTextSize]) {
    const double x = ReadDecimal(text ? text : "");
    // Beyond 32 bits the cast loses the integer part, and the texts their room.
    if (!(std::fabs(x) < 2147483648.0)) {
        std::snprintf(degrees, kDMSTextSize, "0");
        std::snprintf(minutes, kDMSTextSize, "0");
        std::snprintf(seconds, kDMSTextSize, "0.0000");
        return 0;
    }
    const int d = static_cast<int>(x);
    const double m = (x - d) * 60.0;
    const int mm = static_cast<int>(m);
    const double s = (m - mm) * 60.0;
    std::snprintf(degrees, kDMSTextSize, "%d", d);
    std::snprintf(minutes, kDMSTextSize, "%d", mm);
    FormatSeconds(s, seconds);
    return 1;
}
