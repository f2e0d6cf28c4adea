#pragma once

#include <cstdint>
#include <string>

namespace torva {

// Numbers in settings files look like what a default-configured stream writes: general format,
// 6 significant digits (1200, 0.3, 1.23457e+06). Always the classic "C" form, whatever the
// user's locale, so a file written on one machine reads the same on any other.
std::string formatSettingsNumber(double value);

// Integer members are written with every digit: six significant digits would turn a service
// interval of 1234567 into 1.23457e+06, which reads back as 1234570.
std::string formatSettingsInteger(std::int64_t value);

// Reads the leading numeric part of text the way the C library's strtod does in the "C"
// locale; text without one reads as 0.
double parseSettingsNumber(const std::string& text);

// Truncates toward zero. NaN reads as 0 and values beyond the 64-bit range saturate, so any
// number in a file has a defined integer.
std::int64_t truncateToInteger(double value);

// An integer member's value from a file number: truncated, then wrapped into the member's
// width the way an integer conversion does (-1 becomes 255 in a byte).
template <class TInteger> TInteger truncateToField(double value) {
    return static_cast<TInteger>(truncateToInteger(value));
}

} // namespace torva
