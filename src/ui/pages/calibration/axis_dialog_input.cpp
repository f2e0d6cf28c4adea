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

const char* faultSourceText(EAxisFault fault) {
    switch (fault) {
    case EAxisFault::MinValueOutOfRange:
        return PL("Minimalna wartość musi leżeć od 0 do mniej niż 100.");
    case EAxisFault::MaxValueOutOfRange:
        return PL("Maksymalna wartość musi leżeć od 0 do 100.");
    case EAxisFault::ValueSpanNotRising:
        return PL("Maksymalna wartość musi być większa od minimalnej.");
    case EAxisFault::MinRpmOutOfRange:
        return PL("Minimalne obroty muszą leżeć od 500 do 6000.");
    case EAxisFault::MaxRpmOutOfRange:
        return PL("Maksymalne obroty muszą leżeć od 1500 do 6000.");
    case EAxisFault::RpmSpanNegative:
        return PL("Maksymalne obroty nie mogą być mniejsze od minimalnych.");
    case EAxisFault::RpmPointsNotRising:
    case EAxisFault::PointsNotRising: // the dialog names it, with the axes it would write
    case EAxisFault::None:
        break;
    }
    return "";
}

} // namespace

std::string axisFaultText(EAxisFault fault, double minRpm) {
    if (fault == EAxisFault::RpmPointsNotRising)
        return rpmPointsRepeatText(minRpm);
    const char* text = faultSourceText(fault);
    return *text != '\0' ? translate(text) : std::string();
}

std::string notANumberText() {
    return translate(PL("Wpisz liczbę w każdym polu."));
}

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
