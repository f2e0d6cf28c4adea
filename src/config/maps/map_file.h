#pragma once

#include "config/device_config.h"
#include "config/maps/map_catalogue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

// A map as `torvactl map show N --csv` prints it: a line of the 15 RPM points, then 16 lines of a
// load point and 15 cells, separated by commas. The axis line and column are not read; every
// cell follows the rule for typed cells (typedCellValue).
struct SMapFileRead {
    std::optional<MapValues> map;
    // Without a map: the file and, where one is to blame, the line and column of the first
    // fault, e.g. "time1.csv: line 3, column 5: 'x' is not a number".
    std::string failure;
};

// A map file is about 1.5 KB; a file beyond this is refused before it is read.
constexpr std::size_t kMaxMapFileBytes = 4 * 1024 * 1024;

SMapFileRead readMapFile(const std::string& path, const SMapInfo& info);
// The same for text already read; name stands for the file in failures.
SMapFileRead parseMapFile(std::string_view text, const SMapInfo& info, const std::string& name);

} // namespace torva
