#pragma once

#include <string>

namespace torva::sim {

// The key string the controllers encipher their identifier with.
inline constexpr const char* kIdentifierKey = "6A1F4E2B-93C7-4d05-8E61-B7D2C48A90F3";

// The exact inverse of CCipher::decipher: 16 characters in, 16 out; empty for any other length.
// Only the controller enciphers, so this direction lives in the simulator alone.
std::string encipher(const std::string& key, const std::string& text);

} // namespace torva::sim
