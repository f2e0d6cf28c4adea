#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torva {

// Texts stored by the controller and its files use the Central European 8-bit code page 1250.
// The five byte values the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the
// code points of the same value, so every byte string converts and converts back unchanged.
std::string cp1250ToUtf8(std::string_view text);

// The code page 1250 bytes of a UTF-8 text; std::nullopt when the text is not valid UTF-8 or
// holds a character the code page cannot store.
std::optional<std::string> utf8ToCp1250(std::string_view text);

} // namespace torva
