#pragma once

#include <cstddef>
#include <string_view>

constexpr std::size_t kGPSArgumentsSize = 128;

// A field text without the "-" characters at either end; those inside stay.
std::string_view TrimDashes(std::string_view text);

// Same, in place.
void StripDashes(char* text);

// The write script's arguments "N 37/33/43.7724 E 126/58/24.0600 50" for two field texts. The
// letter is S or W only when the text's first character is "-"; every "-" at either end is
// then removed from the texts themselves. Sets g_app.strAltitude to "50" when it is absent or
// empty. An over-long altitude is cut to fit out.
void FormatGPSArguments(char* latitude, char* longitude, char out[kGPSArgumentsSize]);
