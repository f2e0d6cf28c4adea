#include "config/maps/map_step.h"

#include "config/rounding.h"

#include <cmath>

namespace torva {

std::optional<SMapStep> mapStepFor(const SelectionMarks& marks, EMapKind kind, double delta) {
    const double amount = truncateTowardZero(std::fabs(delta) * unitsPerValue(kind));
    if (amount < 1 || amount > 255)
        return std::nullopt;
    for (int column = 0; column < kMapColumns; ++column) {
        for (int row = 0; row < kMapRows; ++row) {
            if (!marks[row][column])
                continue;
            int rows = 0;
            while (row + rows < kMapRows && marks[row + rows][column])
                ++rows;
            int columns = 0;
            while (column + columns < kMapColumns && marks[row][column + columns])
                ++columns;
            SMapStep step;
            step.row = static_cast<std::uint8_t>(row);
            step.column = static_cast<std::uint8_t>(column);
            step.rows = static_cast<std::uint8_t>(rows);
            step.columns = static_cast<std::uint8_t>(columns);
            step.operation = delta > 0 ? SMapStep::kRaise : SMapStep::kLower;
            step.amount = static_cast<std::uint8_t>(amount);
            step.appliedDelta = (delta > 0 ? amount : -amount) / unitsPerValue(kind);
            return step;
        }
    }
    return std::nullopt;
}

} // namespace torva
