#pragma once

#include <optional>
#include <string>

namespace torva {

// What an up-down field does with a result outside its range.
enum class EOutOfRange {
    Clamp,  // the result is limited to the range
    Refuse, // the field keeps its value
};

// One up-down field's rule: each click adds or subtracts the step (the upper arrow raises),
// then the range applies. Results are rounded to the step's decimals, so a hundred clicks of
// 0.01 land on a whole number and not beside it.
struct SUpDownRule {
    double step = 1;
    double min = 0;
    double max = 0;
    const char* format = "%.0f"; // printf style, one numeric conversion (see formatNumber)
    EOutOfRange outOfRange = EOutOfRange::Clamp;

    // The value after clicks steps (positive: up), or std::nullopt when the rule refuses it.
    std::optional<double> stepped(double value, int clicks) const;
    // Steps a record field in place; false, with the field unchanged, when refused.
    template <class Field> bool stepField(Field& field, int clicks) const {
        const std::optional<double> next = stepped(static_cast<double>(field), clicks);
        if (!next)
            return false;
        field = static_cast<Field>(*next);
        return true;
    }
    // The value as the field shows it.
    std::string text(double value) const;
};

} // namespace torva
