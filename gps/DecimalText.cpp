#include "gps/DecimalText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <memory>
#include <string>
#include <type_traits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A Qt program runs in the user's locale, where strtod may want "37,5" and stop at "37.5".
locale_t ClassicLocale() {
    static const std::unique_ptr<std::remove_pointer_t<locale_t>, void (*)(locale_t)> classic(
        newlocale(LC_ALL_MASK, "C", locale_t(nullptr)), [](locale_t l) {
            if (l)
                freelocale(l);
        });
    return classic.get();
}

} // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t DecimalPrefixLength(std::string_view text) {
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    std::size_t i = 0;
    if (at(i) == '+' || at(i) == '-')
        ++i;
    std::size_t digits = 0;
    for (; IsDigit(at(i)); ++i)
        ++digits;
    if (at(i) == '.')
        for (++i; IsDigit(at(i)); ++i)
            ++digits;
    if (digits == 0)
        return 0;
    if (at(i) == 'e' || at(i) == 'E') {
        std::size_t j = i + 1;
        if (at(j) == '+' || at(j) == '-')
            ++j;
        if (IsDigit(at(j))) {
            while (IsDigit(at(j)))
                ++j;
            i = j;
        }
    }
    return i;
}

double ReadDecimal(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    text.remove_prefix(start);
    const std::size_t length = DecimalPrefixLength(text);
    if (length == 0)
        return 0.0;
    // Only the checked prefix goes to strtod, so it never sees hex, inf or nan.
    const std::string number(text.substr(0, length));
    if (const locale_t classic = ClassicLocale())
        return strtod_l(number.c_str(), nullptr, classic);
    return std::strtod(number.c_str(), nullptr);
}

bool IsPlainDecimal(std::string_view text) {
    return !text.empty() && DecimalPrefixLength(text) == text.size();
}

bool IsPlainDecimal(const char* text) {
    return text && IsPlainDecimal(std::string_view(text));
}
