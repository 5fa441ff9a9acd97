#pragma once

#include <cstddef>

// Decides whether the two field texts may be recorded into a picture: each must be, after the
// "-" handling of the write arguments, a whole decimal number, the latitude at most 90 and the
// longitude at most 180 in magnitude. Otherwise writes one short sentence saying what is wrong
// (latitude first) into message, cut to size, and returns false. On success message is "".
bool CheckCoordinateFields(const char* latitude, const char* longitude, char* message,
                           std::size_t size);
