#pragma once

#include "config/device_config.h"

#include <chrono>
#include <string>

namespace torva {

// Where a backup went, or why it could not be written.
struct SSettingsBackup {
    bool written = false;
    std::string path;    // the backup file; when not written, the file or folder it was meant for
    std::string failure; // the system's reason, when not written
};

// "<model>_<identifier>_<YYYYMMDD-HHMMSS>" in local time, with every character that is not
// safe in a file name on any system replaced by '_'.
std::string settingsBackupName(const SDevInfo& identity,
                               std::chrono::system_clock::time_point when);

// Saves the live configuration as an ordinary settings file in folder ('/'-terminated), named by
// settingsBackupName. An existing backup is never replaced: a later one in the same second gets
// "_2", "_3", ... The copy carries the backup's time as its time stamp, so it loads like any
// exported file; the live record is left as it is.
SSettingsBackup writeSettingsBackup(const std::string& folder, const CDeviceConfig& live,
                                    std::chrono::system_clock::time_point now);
// The same in the "Backup" folder of the settings folder, created when missing.
SSettingsBackup
writeSettingsBackup(const CDeviceConfig& live,
                    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

} // namespace torva
