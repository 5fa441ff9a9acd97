#include "base/BoundedText.h"

#include <cstring>

std::size_t Utf8PrefixLength(const char* text, std::size_t length, std::size_t limit) {
    if (length <= limit)
        return length;
    // Step back over continuation bytes to the start of the character that would be cut.
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

void CopyBounded(char* target, std::size_t size, const char* text, std::size_t length) {
    if (size == 0)
        return;
    length = Utf8PrefixLength(text, length, size - 1);
    std::memmove(target, text, length);
    target[length] = '\0';
}
