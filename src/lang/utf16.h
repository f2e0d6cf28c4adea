#pragma once

#include <string>
#include <string_view>

namespace torva {

// Language files are UTF-16; the program's texts are UTF-8.

// Unpaired surrogates become U+FFFD, so a damaged file still yields readable text.
std::string utf16ToUtf8(std::u16string_view text);

// Throws std::invalid_argument naming the byte offset of the first malformed sequence.
std::u16string utf8ToUtf16(std::string_view text);

} // namespace torva
