#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace torva::cli {

// Prints value as one JSON line on stdout. Controller texts need not be valid UTF-8 (an
// identifier deciphered with the wrong key is binary); such bytes become U+FFFD instead of
// failing the command.
void printJson(const nlohmann::json& value);

// A controller text for a text line: control characters, which would break the line structure
// scripts read, become '?'.
std::string printableText(const std::string& text);

} // namespace torva::cli
