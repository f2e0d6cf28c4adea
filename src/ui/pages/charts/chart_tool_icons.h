#pragma once

#include "ui/pages/charts/scroll_chart_model.h"

#include <QIcon>

#include <vector>

namespace torva {

// The pictures of the charts page, drawn so they need no image files.
enum class EChartTool { Clear, StopRecording, Record, Open };

QIcon chartToolIcon(EChartTool tool);

// A check box's colour key: a stripe of each of its series' colours, side by side.
QIcon seriesSwatch(const std::vector<SChartRgb>& colours);

} // namespace torva
