#pragma once

#include <QString>

namespace torva {

// A file-type filter as the core writes it — "Settings file (*.dsettings)|*.dsettings|", pairs
// of description and patterns separated by '|', patterns separated by ';' — as a file dialog
// filter: "Settings file (*.dsettings)", entries separated by ";;". A filter without '|' is
// taken as one description, with "(*)" added when it names no patterns.
QString toDialogFilter(const QString& windowsFilter);

} // namespace torva
