#pragma once
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

// The C library's own reading of a decimal number (up to the first NUL, which ends a C text
// and is no digit either), taken in 64 bits and clamped to the 32-bit range.
inline std::int32_t reference_decimal(const std::string& text) {
    errno = 0;
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    constexpr long long low = std::numeric_limits<std::int32_t>::min();
    constexpr long long high = std::numeric_limits<std::int32_t>::max();
    value = value < low ? low : value > high ? high : value;
    return static_cast<std::int32_t>(value);
}
