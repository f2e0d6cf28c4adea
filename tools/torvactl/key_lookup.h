#pragma once

#include "config/block_table.h"
#include "config/settings_keys.h"

#include <optional>
#include <string>
#include <string_view>

namespace torva::cli {

// The settings-file key table entry of key, or usage failure naming the closest valid key.
const SSettingsKey& requireSettingsKey(std::string_view key);

// The valid key nearest to text by edit distance (the first of equals in table order); empty
// for a text much longer than every key.
std::string closestSettingsKey(std::string_view text);

// The block a settable key is written with; std::nullopt for keys that are not a member of any
// block (time stamp, identity and statistics, the file-only TPS jump).
std::optional<EBlock> blockOfKey(std::string_view key);

} // namespace torva::cli
