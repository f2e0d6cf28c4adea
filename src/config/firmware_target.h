#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace torva {

// How firmware is programmed into one controller type.
struct SFirmwareTarget {
    int deviceType = 0;
    const char* subFolder = "";     // under the "Diesel Firmware" data folder
    std::uint32_t flashEnd = 0;     // controller address where programming stops
    std::uint32_t eraseBlock = 0;   // in controller address units
    std::uint8_t loaderSubCode = 0; // of the loader identity query
};

// The parameters of deviceType (m_devInfo.m_deviceID); std::nullopt for an unknown type.
std::optional<SFirmwareTarget> firmwareTarget(int deviceType);

// The folder holding the firmware files of deviceType, ending with '/'; std::nullopt for an
// unknown type.
std::optional<std::string> firmwareFolder(int deviceType);

} // namespace torva
