#include "config/maps/map_cell.h"

namespace torva {

namespace {

template <typename Axis> int firstPointAbove(const Axis& axis, double value) {
    for (int i = 0; i < static_cast<int>(axis.size()); ++i) {
        if (value < axis[i])
            return i;
    }
    return static_cast<int>(axis.size()) - 1;
}

} // namespace

SMapCell mapCellOf(const RpmAxis& rpmAxis, const LoadAxis& loadAxis, double rpm, double load) {
    return {firstPointAbove(rpmAxis, rpm), firstPointAbove(loadAxis, load)};
}

} // namespace torva
