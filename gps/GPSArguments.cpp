#include "gps/GPSArguments.h"

#include "base/AppState.h"
#include "gps/DecimalToDMS.h"

#include <cstdio>
#include <cstring>

std::string_view TrimDashes(std::string_view text) {
    const std::size_t first = text.find_first_not_of('-');
    if (first == std::string_view::npos)
        return text.substr(text.size()); // empty, but still pointing into text
    const std::size_t last = text.find_last_not_of('-');
    return text.substr(first, last - first + 1);
}

void StripDashes(char* text) {
    if (!text)
        return;
    const std::string_view kept = TrimDashes(text);
    std::memmove(text, kept.data(), kept.size());
    text[kept.size()] = '\0';
}

void FormatGPSArguments(char* latitude, char* longitude, char out[kGPSArgumentsSize]) {
    // Only the first character decides: " -37.5" stays north and converts as negative.
    const char latitudeLetter = latitude && latitude[0] == '-' ? 'S' : 'N';
    const char longitudeLetter = longitude && longitude[0] == '-' ? 'W' : 'E';
    StripDashes(latitude);
    StripDashes(longitude);

    char latD[kDMSTextSize], latM[kDMSTextSize], latS[kDMSTextSize];
    char lonD[kDMSTextSize], lonM[kDMSTextSize], lonS[kDMSTextSize];
    DecimalToDMS(latitude, latD, latM, latS);
    DecimalToDMS(longitude, lonD, lonM, lonS);

    if (!g_app.strAltitude || g_app.strAltitude->empty())
        g_app.strAltitude = "50";

    std::snprintf(out, kGPSArgumentsSize, "%c %s/%s/%s %c %s/%s/%s %s", latitudeLetter, latD, latM,
                  latS, longitudeLetter, lonD, lonM, lonS, g_app.strAltitude->c_str());
}
