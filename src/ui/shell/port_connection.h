#pragma once

#include <functional>
#include <string>

namespace torva {

class CLPGDevice;

// Connecting to one known port. The search over every present port, last good port first,
// belongs to the connection procedure; this is what the application does with a port it was
// given on the command line (or the simulator it started).

// Opens devicePath with the controller's line settings and reads the whole configuration
// (identification first). True when the controller identified itself; a port that cannot be
// opened is false, never an error.
bool connectToPath(CLPGDevice& device, const std::string& devicePath);

// Puts the device into demo mode: demo and connected flags set, the demo identity read.
void startDemo(CLPGDevice& device);

// No controller: askForDemo decides between demo mode and work without a controller (both
// flags clear).
void offerDemo(CLPGDevice& device, const std::function<bool()>& askForDemo);

} // namespace torva
