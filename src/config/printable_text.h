#pragma once

#include <string>
#include <string_view>

namespace torva {

// Texts a controller, a file or a command line brings (an identifier, a time stamp, a file name)
// may hold control characters: BEL, ESC and the like act on a terminal, a line end breaks a
// settings line. Each control character (below 0x20, and DEL) becomes "\xHH"; every other byte
// stays as it is, so UTF-8 and code page 1250 text pass unchanged.
std::string escapeUnprintable(std::string_view text);

} // namespace torva
