#pragma once

#include "diag/diag_sample.h"

#include <cstdint>

namespace torva {

// Process-wide: the fuel mode a demo run pretends the controller is in. The demo mode actions
// set it and the demo live sample shows it. Diesel at start-up.
std::uint8_t demoFuelMode();
void setDemoFuelMode(std::uint8_t mode);

} // namespace torva
