#pragma once

#include <string>
#include <string_view>

namespace torva {

// Texts a controller or a file brings (an identifier, a time stamp) may hold control characters
// -- BEL, ESC and the like act on a terminal, a line end breaks a settings line. Each byte that
// is no printable character of code page 1250 becomes "\xHH"; everything else stays as it is.
std::string escapeUnprintable(std::string_view text);

} // namespace torva
