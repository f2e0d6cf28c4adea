#pragma once

#include "config/device_config.h"

#include <cstdint>
#include <string>

namespace torva {

// Writes every key of the record to path (CR LF lines). The file appears complete or not at
// all: false when it could not be written in full, and an existing file at path is then left
// as it was.
bool writeSettings(const std::string& path, const CDeviceConfig& record);

// Reads a settings file into destination, which should hold the factory image for the
// connected controller: optional keys a file lacks keep the destination's values. True when the
// whole file was accepted; on false destination may hold part of the file and is to be thrown
// away.
//
// Accepted when the time stamp, a device type of 3, 25, 37 or 40, every base, sensors and
// channel 1-4 map and axis key, and -- when the file comes from the connected device type --
// every advanced key are present. Afterwards m_base.m_minVCC follows the connected controller:
// 20 V on the 24-volt types, 10 V on the others.
bool readSettings(const std::string& path, CDeviceConfig& destination, std::uint8_t liveDeviceType);

// The identity lines of a settings file (firmware version, flag words, injectors, identifier,
// production date, device type, running times), which a load never reads: what is needed to
// treat the file as the controller it was saved from. Missing lines leave the defaults.
struct SSettingsIdentity {
    bool readable = false;   // the file could be opened and read
    bool hasVersion = false; // it has an m_devInfo.m_version line with a value
    SDevInfo devInfo;        // without the model name, which no file carries
};
SSettingsIdentity readSettingsIdentity(const std::string& path);

} // namespace torva
