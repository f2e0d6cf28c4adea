#include "settings_values.h"

#include "config/printable_text.h"
#include "config/settings_number.h"
#include "exit_status.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace torva::cli {

namespace {

template <class... TVisitors> struct SOverloaded : TVisitors... { using TVisitors::operator()...; };

std::string withoutLineEnds(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

[[noreturn]] void failValue(const std::string& key, const std::string& text,
                            const std::string& why) {
    // The value as typed may be long or hold control characters; the error line stays one
    // short, harmless line.
    constexpr std::size_t kShownLength = 64;
    std::string shown = escapeUnprintable(std::string_view(text).substr(0, kShownLength));
    if (text.size() > kShownLength)
        shown += "...";
    fail(EExit::Usage, "value '" + shown + "' for " + key + ": " + why);
}

double parseDecimal(const std::string& key, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        failValue(key, text, "not a number");
    return value;
}

template <class TInteger> TInteger parseInteger(const std::string& key, const std::string& text) {
    long long value = 0;
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (begin == end || stop != end || error == std::errc::invalid_argument)
        failValue(key, text, "not a whole number");
    if (error == std::errc::result_out_of_range ||
        value < static_cast<long long>(std::numeric_limits<TInteger>::min()) ||
        value > static_cast<long long>(std::numeric_limits<TInteger>::max()))
        failValue(key, text,
                  "outside " + std::to_string(std::numeric_limits<TInteger>::min()) + "-" +
                      std::to_string(std::numeric_limits<TInteger>::max()));
    return static_cast<TInteger>(value);
}

} // namespace

std::string formatSettingsValue(const SettingsField& field) {
    return std::visit(SOverloaded{
                          [](std::string* text) { return withoutLineEnds(*text); },
                          [](double* number) { return formatSettingsNumber(*number); },
                          [](auto* integer) { return formatSettingsInteger(*integer); },
                      },
                      field);
}

void assignSettingsValue(const std::string& key, const SettingsField& field,
                         const std::string& text) {
    std::visit(
        SOverloaded{
            [&](std::string*) { failValue(key, text, "not a settable member"); },
            [&](double* value) { *value = parseDecimal(key, text); },
            [&]<class TInteger>(TInteger* value) { *value = parseInteger<TInteger>(key, text); },
        },
        field);
}

} // namespace torva::cli
