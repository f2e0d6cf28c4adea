#pragma once

#include "config/block_table.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace torva {

// The configuration as the pages group it: the settings groups, then each map and axis on its
// own. A comparison reports differences per group, and a partial apply writes the blocks of the
// groups the user ticks.
struct SDiffGroup {
    std::string_view prefix; // key prefix: "m_base", "m_mapEmu3", ...
    std::string_view title;  // Polish source text, translated at display time
    EBlock block;            // the block that carries the group to the controller
    bool isMap;              // element keys "[row][column]"; otherwise single keys or an axis
};

// In settings-file order.
std::span<const SDiffGroup> diffGroups();

// The group of a settings key; nullopt for the time stamp and identity keys, which are no
// configuration.
std::optional<std::size_t> diffGroupOfKey(std::string_view key);

// Row and column of a map element key ("m_mapEmu3[12][7]" -> 12, 7), or the index of an axis
// or array key as the row with column -1; nullopt for a plain member.
struct SKeyCell {
    int row = 0;
    int column = -1;
};
std::optional<SKeyCell> keyCell(std::string_view key);

} // namespace torva
