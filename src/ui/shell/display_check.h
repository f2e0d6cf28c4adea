#pragma once

#include <string>

namespace torva {

// Empty when a window can be shown; otherwise one line saying that there is no display and
// what to run instead. Reads QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY.
std::string displayProblem();

} // namespace torva
