#include "ui/controls/number_format.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace torva {

namespace {

constexpr int kMaxField = 64; // widest width or precision honoured

struct SConversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char kind = 0;
    size_t length = 0; // characters from '%' to the conversion letter, inclusive
};

std::optional<int> readNumber(std::string_view text, size_t& at) {
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        return std::nullopt;
    }
    int number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        number = std::min(number * 10 + (text[at] - '0'), 10 * kMaxField);
        ++at;
    }
    return number;
}

// Parses the conversion that starts at text[start] == '%'.
std::optional<SConversion> parseConversion(std::string_view text, size_t start) {
    SConversion result;
    size_t at = start + 1;
    while (at < text.size() && std::string_view("-+ #0").find(text[at]) != std::string_view::npos) {
        result.flags += text[at++];
    }
    if (auto width = readNumber(text, at)) {
        result.width = std::min(*width, kMaxField);
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        result.precision = std::min(readNumber(text, at).value_or(0), kMaxField);
    }
    while (at < text.size() &&
           std::string_view("hlLqjzt").find(text[at]) != std::string_view::npos) {
        ++at; // the value's own type decides the length
    }
    if (at >= text.size() ||
        std::string_view("diuxXofFeEgGaA").find(text[at]) == std::string_view::npos) {
        return std::nullopt;
    }
    result.kind = text[at];
    result.length = at - start + 1;
    return result;
}

long long truncated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (value >= limit) {
        return std::numeric_limits<long long>::max();
    }
    if (value <= -limit) {
        return std::numeric_limits<long long>::min();
    }
    return static_cast<long long>(std::trunc(value));
}

std::string render(const SConversion& conversion, double value) {
    std::string spec = "%" + conversion.flags;
    if (conversion.width >= 0) {
        spec += std::to_string(conversion.width);
    }
    if (conversion.precision >= 0) {
        spec += "." + std::to_string(conversion.precision);
    }
    char buffer[512];
    int written = 0;
    switch (conversion.kind) {
    case 'd':
    case 'i':
    case 'u': // shown signed: a negative reading must not turn into a huge number
        spec += "lld";
        written = std::snprintf(buffer, sizeof buffer, spec.c_str(), truncated(value));
        break;
    case 'x':
    case 'X':
    case 'o':
        spec += "ll";
        spec += conversion.kind;
        written = std::snprintf(buffer, sizeof buffer, spec.c_str(),
                                static_cast<unsigned long long>(truncated(value)));
        break;
    default:
        spec += conversion.kind;
        written = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
        break;
    }
    return written < 0 ? std::string() : std::string(buffer);
}

} // namespace

std::string formatNumber(std::string_view format, double value) {
    std::string result;
    bool filled = false;
    size_t at = 0;
    while (at < format.size()) {
        const size_t percent = format.find('%', at);
        result.append(format.substr(at, percent - at));
        if (percent == std::string_view::npos) {
            break;
        }
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            result += '%';
            at = percent + 2;
            continue;
        }
        const auto conversion = parseConversion(format, percent);
        if (!conversion || filled) {
            const size_t length = conversion ? conversion->length : 1;
            result.append(format.substr(percent, length));
            at = percent + length;
            continue;
        }
        result += render(*conversion, value);
        filled = true;
        at = percent + conversion->length;
    }
    return result;
}

} // namespace torva
