#include "ui/pages/common/up_down_rule.h"

#include "config/rounding.h"
#include "ui/controls/number_format.h"

#include <algorithm>
#include <cmath>

namespace torva {

namespace {

bool isWhole(double x) {
    return std::fabs(x - std::round(x)) < 1e-9;
}

// Rounds to as many decimals as the step has (up to three, as the record's conversions do).
double roundToStep(double value, double step) {
    const double magnitude = std::fabs(step);
    if (isWhole(magnitude))
        return round0(value);
    if (isWhole(magnitude * 10))
        return round1(value);
    if (isWhole(magnitude * 100))
        return round2(value);
    return round3(value);
}

} // namespace

std::optional<double> SUpDownRule::stepped(double value, int clicks) const {
    const double result = roundToStep(value + clicks * step, step);
    if (result >= min && result <= max)
        return result;
    if (outOfRange == EOutOfRange::Refuse)
        return std::nullopt;
    return std::clamp(result, min, max);
}

std::string SUpDownRule::text(double value) const {
    return formatNumber(format, value);
}

} // namespace torva
