#pragma once

#include "ui/pages/charts/scroll_chart_model.h"

#include <set>

namespace torva {

// Identifiers of the series the chart currently draws.
inline std::set<int> visibleSeries(const CScrollChartModel& chart) {
    std::set<int> visible;
    for (const auto& series : chart.allSeries()) {
        if (series.visible) {
            visible.insert(series.id);
        }
    }
    return visible;
}

} // namespace torva
