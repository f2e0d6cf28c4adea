#pragma once

#include "config/device_config.h"

#include <chrono>
#include <string>

namespace torva {

// Settings files, exported and backups alike, carry this extension (without the dot).
constexpr const char* kSettingsFileExtension = "dsettings";

enum class EExportResult { Saved, Cancelled, Failed };

// "%d-%m-%Y-%H:%M:%S" in local time, e.g. "07-03-2014-15:04:09".
std::string settingsTimeStamp(std::chrono::system_clock::time_point when);

// The document's "save settings file" command: stamps the live record with now (the live record
// keeps the stamp), asks for a file in the settings folder and writes a copy of the record
// there. A failed write is reported to the user ("Nie można wpisać ustawień do pliku z danymi
// samochodu") and leaves an existing file as it was.
EExportResult
exportSettings(CDeviceConfig& live,
               std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// The open dialog of the "load settings file" command, starting in the settings folder; the
// chosen path, or an empty string when the user cancelled.
std::string chooseSettingsFileToLoad();

} // namespace torva
