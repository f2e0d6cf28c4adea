#include "ui/controls/bar_scale.h"

#include <algorithm>
#include <cmath>

namespace torva {

double barFraction(double value, double minimum, double maximum) {
    if (!(maximum > minimum) || std::isnan(value)) {
        return 0.0;
    }
    const double fraction = (value - minimum) / (maximum - minimum);
    if (std::isnan(fraction)) { // infinite range
        return 0.0;
    }
    return std::clamp(fraction, 0.0, 1.0);
}

std::vector<double> scaleMarks(int divisions) {
    std::vector<double> marks;
    if (divisions < 1) {
        return marks;
    }
    marks.reserve(size_t(divisions) + 1);
    for (int i = 0; i <= divisions; ++i) {
        marks.push_back(double(i) / divisions);
    }
    return marks;
}

} // namespace torva
