#pragma once

#include "config/device_config.h"

namespace torva {

struct SMapCell {
    int column = 0; // RPM point 0-14
    int row = 0;    // load point 0-15
    bool operator==(const SMapCell&) const = default;
};

// The cell an operating point falls in: the column of the first RPM point above rpm and the row
// of the first load point above load, the last column or row when no point is above. A value
// goes to the point above it, not to the nearest one, as the controller reads its maps. The
// grids mark their live cell by this rule and recordings are binned by it, so both always agree.
SMapCell mapCellOf(const RpmAxis& rpmAxis, const LoadAxis& loadAxis, double rpm, double load);

} // namespace torva
