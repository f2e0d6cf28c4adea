#include "ui/pages/calibration/axis_dialog_input.h"

#include "config/axis_definition.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/controls/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace torva::calibration {

namespace {

constexpr const char* kSpanFromMinimum =
    PL("Punkty osi obrotów po zaokrągleniu do setek powtarzają się. Najmniejsza rozpiętość, "
       "która działa od tych minimalnych obrotów: %.0f obr/min.");
constexpr const char* kMinimumTooHigh =
    PL("Punkty osi obrotów po zaokrągleniu do setek powtarzają się. Obniż minimalne obroty: "
       "rozpiętość musi wynosić co najmniej %.0f obr/min.");

} // namespace

std::optional<double> parseTypedNumber(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    // from_chars ignores the process locale, which may use a decimal comma.
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string rpmPointsRepeatText(double minRpm) {
    if (const std::optional<double> smallest = smallestRisingMaxRpm(minRpm))
        return formatNumber(translate(kSpanFromMinimum), *smallest - minRpm);
    return formatNumber(translate(kMinimumTooHigh), kRpmSpanAlwaysRising);
}

} // namespace torva::calibration
