#include "gps/MapTitle.h"

#include "gps/DecimalText.h"

#include <cstring>
#include <string_view>

namespace {

// Reads one blank-separated word, keeping at most size - 1 characters of it; the rest of an
// over-long word is skipped so that it never becomes the next word.
std::string_view::size_type ReadWord(std::string_view text, std::string_view::size_type pos,
                                     char* word, std::size_t size) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    std::size_t n = 0;
    for (; pos < text.size() && !IsBlank(text[pos]); ++pos)
        if (n + 1 < size)
            word[n++] = text[pos];
    word[n] = '\0';
    return pos;
}

} // namespace

int ParseMapTitle(const char* title, char latitude[kMapWordSize], char longitude[kMapWordSize]) {
    if (!title || title[0] == '\0')
        return 0;
    char copy[kMapTitleSize];
    const std::size_t length = strnlen(title, kMapTitleSize - 1);
    std::memcpy(copy, title, length);
    copy[length] = '\0';
    if (copy[0] != '(')
        return 0;

    std::string_view text(copy, length);
    const auto first = text.find_first_not_of("()");
    if (first == std::string_view::npos)
        return 0;
    text = text.substr(first, text.find_last_not_of("()") - first + 1);

    char firstWord[kMapWordSize] = {};
    char secondWord[kMapWordSize] = {};
    ReadWord(text, ReadWord(text, 0, firstWord, sizeof firstWord), secondWord, sizeof secondWord);
    const std::size_t firstLength = std::strlen(firstWord);
    if (firstLength == 0)
        return 0;
    firstWord[firstLength - 1] = '\0';

    std::memcpy(latitude, firstWord, kMapWordSize);
    std::memcpy(longitude, secondWord, kMapWordSize);
    return 1;
}
