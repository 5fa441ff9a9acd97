#pragma once

#include <cstddef>
#include <string_view>

// Decimal numbers as the fields, the map title and the write script carry them: always with a
// point, whatever the user's locale says.

// True for the blanks that separate words in the C locale.
bool IsBlank(char c);

// Length of the decimal number at the start of text (optional sign, digits with an optional
// point and fraction, an optional exponent); 0 when there is none. No blanks, hex, inf or nan.
std::size_t DecimalPrefixLength(std::string_view text);

// Reads text as strtod would in the C locale, after skipping leading blanks, but only the form
// above: "0x10" reads 0, "inf" reads 0, "37,5" reads 37. Too large a number reads as +-HUGE_VAL.
double ReadDecimal(std::string_view text);

// True only when the whole text is one such number: no blanks, no trailing text.
bool IsPlainDecimal(std::string_view text);
bool IsPlainDecimal(const char* text);
