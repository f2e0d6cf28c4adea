#pragma once

#include "config/device_config.h"

#include <cstdint>
#include <string>

namespace torva {

// Writes every key of the record to path (CR LF lines). The file appears complete or not at
// all: false when it could not be written in full, and an existing file at path is then left
// as it was; failure, when given, receives the system's reason. Only a regular file is
// written; a symbolic link is followed and its target replaced.
bool writeSettings(const std::string& path, const CDeviceConfig& record,
                   std::string* failure = nullptr);

// The controller a settings file is loaded into: its type decides which groups are read, its
// type and firmware how the values are encoded and so which values its fields hold.
struct SLoadTarget {
    // From a device type alone, values are checked as for firmware 0 (the first pressure
    // formula).
    SLoadTarget(std::uint8_t type = 0, std::int32_t version = 0)
        : deviceType(type), firmwareVersion(version) {}
    std::uint8_t deviceType;
    std::int32_t firmwareVersion;
};
SLoadTarget loadTargetOf(const SDevInfo& controller);

// Reads a settings file into destination, which should hold the factory image for the
// connected controller: optional keys a file lacks keep the destination's values. True when the
// whole file was accepted; on false destination may hold part of the file and is to be thrown
// away.
//
// Accepted when the file is a regular file of at most a few megabytes, the time stamp, a device
// type of 3, 25, 37 or 40, every base, sensors and channel 1-4 map and axis key, and -- when the
// file comes from the connected device type -- every advanced key are present, and every value
// read is one its field holds in the target controller (value_check.h: finite, inside the
// field, reading back within its resolution, axes rising; values of blocks the target lacks are
// never written and not checked). Afterwards m_base.m_minVCC follows
// the connected controller: 20 V on the 24-volt types, 10 V on the others.
//
// refusal, when given, receives why a file was not accepted, translated: the line and key, the
// value and what the field holds, or why the file could not be read.
bool readSettings(const std::string& path, CDeviceConfig& destination, const SLoadTarget& target,
                  std::string* refusal = nullptr);

// "Nie można wczytać ustawień z pliku" and, on the next line, the file's name and the refusal,
// translated: what the window and the command line show for a refused file.
std::string settingsLoadFailureText(const std::string& path, const std::string& refusal);

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
