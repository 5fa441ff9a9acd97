#pragma once

#include <cstddef>

// Text in fixed-size buffers is UTF-8; a cut never ends inside a character.

// Length of the longest start of text[0, length) that has at most limit bytes and ends on
// a character boundary.
std::size_t Utf8PrefixLength(const char* text, std::size_t length, std::size_t limit);

// Copies as much of text[0, length) as fits into target (size bytes, terminator included).
void CopyBounded(char* target, std::size_t size, const char* text, std::size_t length);
