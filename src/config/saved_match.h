#pragma once

#include "config/device_config.h"
#include "config/settings_backup.h"

#include <optional>
#include <string>

namespace torva {

// Which saved file the controller's configuration equals, as told on connect.
struct SSavedMatch {
    std::string matchingFile;                // path; empty when no saved file equals it
    std::optional<SBackupFile> newestBackup; // this controller's newest backup, if any
};

// Compares the live configuration with this controller's backups (newest first), then with the
// settings files in settingsFolder (newest first) of the same controller type, and stops at the
// first that equals it. Files that cannot be read are passed over.
SSavedMatch findSavedMatch(const CDeviceConfig& live, const std::string& backupFolder,
                           const std::string& settingsFolder);
SSavedMatch findSavedMatch(const CDeviceConfig& live);

// The status-bar line for it, translated: "Zgodne z: <file>", or when the newest backup
// differs, since when; empty when there is nothing to say.
std::string savedMatchText(const SSavedMatch& match);

} // namespace torva
