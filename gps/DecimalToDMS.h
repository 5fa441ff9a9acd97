#pragma once

#include <cstddef>

constexpr std::size_t kDMSTextSize = 16;

// Splits a decimal-degree text into degree, minute and second texts ("%d", "%d", "%.4f"), each
// part truncated toward zero and nothing carried: 10.1 gives 10, 5, 60.0000. Text that is not
// a number reads as 0. Returns 1; returns 0 for a magnitude of 2^31 degrees or more, which
// would not fit the degrees, and then writes "0", "0", "0.0000". Works in the C locale.
int DecimalToDMS(const char* text, char degrees[kDMSTextSize], char minutes[kDMSTextSize],
                 char seconds[kDMSTextSize]);
