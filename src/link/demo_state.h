#pragma once

namespace torva {

// The fuel mode the demo controller runs in: 2 (diesel) at start, 3 after the demo "gas"
// action. Process-wide, read by the polling thread for the demo sample.
int demoFuelMode();
void setDemoFuelMode(int mode);

} // namespace torva
