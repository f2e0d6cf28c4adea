#pragma once

#include <cstdint>

namespace torva {

// Running modes as the controller reports them in byte 2 of the live sample.
constexpr std::uint8_t kFuelModeDiesel = 2;
constexpr std::uint8_t kFuelModeGas = 3;

// Process-wide: the fuel mode a demo run pretends the controller is in. The demo mode actions
// set it and the demo live sample shows it. Diesel at start-up.
std::uint8_t demoFuelMode();
void setDemoFuelMode(std::uint8_t mode);

} // namespace torva
