#pragma once

#include "config/maps/map_catalogue.h"

#include <array>
#include <cstdint>
#include <optional>

namespace torva {

// The rectangle of selected cells as the grid reports it: first and last selected cell in scan
// order (columns outer, rows inner).
struct SCellSelection {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool any = false;
};

using SelectionMarks = std::array<std::array<bool, kMapColumns>, kMapRows>;

// One partial map write: start cell, counts, operation (2 raise, 3 lower) and amount in wire
// units, and the step the cells make when the controller applies it.
struct SMapStep {
    std::uint8_t row = 0;
    std::uint8_t column = 0;
    std::uint8_t rows = 0;
    std::uint8_t columns = 0;
    std::uint8_t operation = 0;
    std::uint8_t amount = 0;
    double appliedDelta = 0;

    static constexpr std::uint8_t kRaise = 2;
    static constexpr std::uint8_t kLower = 3;

    std::array<std::uint8_t, 6> payload() const {
        return {row, column, rows, columns, operation, amount};
    }
};

// The amount is the wire units of |delta| truncated with the record's tolerance, so 0.7999999
// ms counts as 8 tenths and the cells move by exactly what is sent. std::nullopt when nothing is
// selected or the amount comes to 0 (or past a byte).
std::optional<SMapStep> mapStepFor(const SelectionMarks& marks, EMapKind kind, double delta);

} // namespace torva
