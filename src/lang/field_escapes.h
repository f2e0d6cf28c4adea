#pragma once

#include <string>
#include <string_view>

namespace torva {

// Inside a language-file field the two-character sequences \t, \r and \n stand for TAB, CR and
// LF, so that an entry stays on one line with exactly two separating TABs.
std::string unescapeField(std::string_view field);
std::string escapeField(std::string_view text);

} // namespace torva
