#pragma once

#include "config/settings_keys.h"

#include <string>

namespace torva::cli {

// A member's value exactly as the settings-file writer puts it after the key's tab.
std::string formatSettingsValue(const SettingsField& field);

// Stores text into a numeric member: display units for decimal members, a whole number
// (decimal or 0x hex) within the member's range for integer members. Usage failure, naming key,
// for text that is no such number.
void assignSettingsValue(const std::string& key, const SettingsField& field,
                         const std::string& text);

} // namespace torva::cli
