#include "config/settings_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace torva {

namespace {

locale_t classicCLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

} // namespace

std::string formatSettingsNumber(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 6);
    return std::string(buffer.data(), result.ptr);
}

std::string formatSettingsInteger(std::int64_t value) {
    return std::to_string(value);
}

double parseSettingsNumber(const std::string& text) {
    return strtod_l(text.c_str(), nullptr, classicCLocale());
}

std::int64_t truncateToInteger(double value) {
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (std::isnan(value))
        return 0;
    if (value >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

} // namespace torva
