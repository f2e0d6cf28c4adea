#pragma once

#include <string>
#include <vector>

namespace torva {

// Port numbers name serial devices the same way on every start while the hardware stays put:
//   1 –  32  /dev/ttyS0   – /dev/ttyS31    (on-board UARTs)
//  33 –  96  /dev/ttyUSB0 – /dev/ttyUSB63  (USB-to-serial adapters)
//  97 – 160  /dev/ttyACM0 – /dev/ttyACM63  (USB CDC devices)
constexpr int kFirstPortNumber = 1;
constexpr int kLastPortNumber = 160;

// The device path of a port number; empty when the number names no device.
std::string devicePathForPort(int portNumber);
// The port number of a device path (symbolic links followed); 0 when it has none.
int portForDevicePath(const std::string& devicePath);

// Port numbers, ascending, whose device exists and has hardware behind it. Legacy ttyS nodes
// that the kernel creates for UARTs which are not fitted are left out.
std::vector<int> presentPorts();
// The same, looking at a given tty class folder and device folder (tests use scratch folders).
std::vector<int> presentPorts(const std::string& sysClassTty, const std::string& devFolder);

} // namespace torva
