#pragma once

#include <string>
#include <string_view>

namespace torva {

// Writes value into a printf-style format with one numeric conversion ("%i RPM", "%.2f ms",
// "%5.1f bar"). Integer conversions (d, i, u, x, X, o) show the value truncated toward zero;
// floating conversions (f, F, e, E, g, G, a, A) show it as it is; "%%" is a percent sign.
// Only the first conversion takes the value: any further one, and any conversion that is not
// numeric (such as %s or %n), is copied as plain text, so no format can read past the value.
std::string formatNumber(std::string_view format, double value);

} // namespace torva
