#include "config/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace torva {

namespace {

constexpr double kRelativeGuard = 1e-9;

thread_local std::uint64_t t_clampedStores = 0;

double guard(double magnitude) {
    return kRelativeGuard * std::max(1.0, magnitude);
}

double roundScaled(double x, double scale) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double scaled = x * scale;
    const double magnitude = std::trunc(std::fabs(scaled) + 0.5 + guard(std::fabs(scaled)));
    if (magnitude == 0.0) {
        return 0.0;
    }
    // Dividing by the power of ten yields the double nearest to the decimal result.
    return std::copysign(magnitude, scaled) / scale;
}

template <typename T> T saturate(double whole) {
    constexpr double top = static_cast<double>(std::numeric_limits<T>::max());
    if (std::isnan(whole) || whole < 0.0 || whole > top) {
        noteClampedStore();
    }
    if (std::isnan(whole) || whole <= 0.0) {
        return 0;
    }
    return whole >= top ? std::numeric_limits<T>::max() : static_cast<T>(whole);
}

} // namespace

double round0(double x) {
    return roundScaled(x, 1.0);
}
double round1(double x) {
    return roundScaled(x, 10.0);
}
double round2(double x) {
    return roundScaled(x, 100.0);
}
double round3(double x) {
    return roundScaled(x, 1000.0);
}

double truncateTowardZero(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double magnitude = std::trunc(std::fabs(x) + guard(std::fabs(x)));
    return magnitude == 0.0 ? 0.0 : std::copysign(magnitude, x);
}

std::uint64_t clampedStoreCount() {
    return t_clampedStores;
}

void noteClampedStore() {
    ++t_clampedStores;
}

std::uint8_t toByte(double whole) {
    return saturate<std::uint8_t>(whole);
}
std::uint16_t toWord(double whole) {
    return saturate<std::uint16_t>(whole);
}
std::uint32_t toDword(double whole) {
    return saturate<std::uint32_t>(whole);
}

} // namespace torva
