#pragma once

#include <cstddef>

constexpr std::size_t kMapTitleSize = 80;
constexpr std::size_t kMapWordSize = 40;

// Takes the two field texts from a map title "(37.562159, 126.97335)": the parentheses at
// either end go, the first two blank-separated words are taken and the first loses its last
// character (the comma). Returns 1 when the fields are to be set to latitude and longitude
// (an empty longitude empties its field), 0 when both fields stay as they are; the outputs
// are then untouched. A title is cut to 79 characters and each word to 39.
int ParseMapTitle(const char* title, char latitude[kMapWordSize], char longitude[kMapWordSize]);
