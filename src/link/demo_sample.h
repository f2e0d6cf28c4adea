#pragma once

#include "link/diag_sample.h"

#include <cstdint>

namespace torva {

class CDiagData;

// Fills sample with the demo controller's fixed reading for the device type and the demo fuel
// mode, numbered with the demo sequence, which then advances. The first demo sample of the run
// clears store first.
void fillDemoSample(DiagSample& sample, std::uint8_t deviceType, CDiagData& store);

} // namespace torva
