#pragma once

#include "config/device_config.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace torva {

// How the reader treats a key; the writer emits every key.
enum class ESettingsGroup {
    TimeStamp,      // mandatory, read first
    DeviceType,     // mandatory, read second; decides whether Advanced is read
    DevInfo,        // identity and statistics: written for the record, never read back
    Base,           // mandatory
    Advanced,       // mandatory when the file comes from the connected device type, else skipped
    Sensors,        // mandatory
    Service,        // optional, key by key
    Tempomat,       // optional, key by key
    Maps,           // channels 1-4 and their axes: mandatory
    TpsDigitalMaps, // optional, element by element
};

// The record member a key stands for.
using SettingsField = std::variant<std::string*, double*, std::uint8_t*, std::uint16_t*,
                                   std::uint32_t*, std::int32_t*>;

struct SSettingsKey {
    std::string key;
    ESettingsGroup group;
    std::function<SettingsField(CDeviceConfig&)> field;
};

constexpr std::string_view kTimeStampKey = "m_timeStamp";
constexpr std::string_view kDeviceTypeKey = "m_devInfo.m_deviceID";

// Every line of a complete settings file, in the order the writer emits them: 2,568 keys.
const std::vector<SSettingsKey>& settingsKeys();
bool isSettingsKey(std::string_view key);

} // namespace torva
