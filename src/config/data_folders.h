#pragma once

#include <string>

namespace torva {

// The tool's own files live in "TORVA DIESEL" inside the user's documents folder: diagnostic
// recordings in "Diag", settings exports in "Settings". Each call creates the folder and its
// parent when missing (failures show up when a file is written there) and returns the path
// ending with '/'.
std::string diagnosticFolder();
std::string settingsFolder();

} // namespace torva
