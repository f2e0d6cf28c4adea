#pragma once

#include <QIcon>

namespace torva {

// The pictures of the charts page's tool buttons, drawn so they need no image files.
enum class EChartTool { Clear, ReadOut, Record, Open };

QIcon chartToolIcon(EChartTool tool);

} // namespace torva
