#pragma once

#include "link/diag_sample.h"

#include <cstdint>

namespace torva {

class CDeviceConfig;
class CDiagData;

// Fills sample with what the demo car reads now (on the app clock): the demo engine's speed,
// load and temperatures, the channels' signals and, on gas, the emulation and the gas injection
// time the record's maps give at the engine's cells. The fuel mode is the demo fuel mode; the
// sample is numbered with the demo sequence, which then advances. The first demo sample of the
// run clears store first.
void fillDemoSample(DiagSample& sample, const CDeviceConfig& config, CDiagData& store);

// What the demo car reads at that second of its engine's running in that fuel mode; the
// sequence number is 0.
DiagSample demoSampleAt(const CDeviceConfig& config, double engineSeconds, std::uint8_t fuelMode);

} // namespace torva
