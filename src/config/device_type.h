#pragma once

#include <cstdint>

namespace torva {

// Device types (m_devInfo.m_deviceID) the tool works with. 25 and 37 are the 24-volt
// controllers and the only ones with the digital-TPS map group.
constexpr std::uint8_t kDeviceType3 = 3;
constexpr std::uint8_t kDeviceType25 = 25;
constexpr std::uint8_t kDeviceType37 = 37;
constexpr std::uint8_t kDeviceType40 = 40;

constexpr bool isKnownDeviceType(std::uint8_t type) {
    return type == kDeviceType3 || type == kDeviceType25 || type == kDeviceType37 ||
           type == kDeviceType40;
}

constexpr bool isTwentyFourVoltDevice(std::uint8_t type) {
    return type == kDeviceType25 || type == kDeviceType37;
}

constexpr bool hasTpsDigitalMaps(std::uint8_t type) {
    return isTwentyFourVoltDevice(type);
}

// Firmware versions (high byte major, low byte minor) from which blocks and formulas apply.
constexpr std::int32_t kServiceBlockVersion = 0x102;
constexpr std::int32_t kTempomatBlockVersion = 0x10A;
constexpr std::int32_t kSecondPressureFormulaVersion = 0x10F;

} // namespace torva
