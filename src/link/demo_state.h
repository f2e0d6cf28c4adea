#pragma once

#include "link/diag_sample.h"

#include <atomic>
#include <cstdint>

namespace torva {

// Process-wide: the fuel mode a demo run pretends the controller is in. The demo mode actions
// set it and the demo live sample shows it. Diesel at start-up.
std::uint8_t demoFuelMode();
void setDemoFuelMode(std::uint8_t mode);

// Sequence number of the next demo sample; starts at 1 and only grows.
std::atomic<std::int32_t>& demoSequence();

// The demo engine starts (cold) with the first demo sample after this call, at that second of
// its drive: 0 is idle before pulling away.
void restartDemoEngine(double atDriveSecond = 0);
// The demo engine's second of running at nowMs on the app clock; the first call after a restart
// starts it.
double demoEngineSeconds(std::int64_t nowMs);

} // namespace torva
