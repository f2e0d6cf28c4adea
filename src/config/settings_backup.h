#pragma once

#include "config/device_config.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace torva {

// Where a backup went, or why it could not be written.
struct SSettingsBackup {
    bool written = false;
    std::string path;    // the backup file; when not written, the file or folder it was meant for
    std::string failure; // the system's reason, when not written
};

// What a backup was taken before. The name says it, so a backup copied to another machine
// still does.
enum class EBackupReason { FactorySettings, FileLoad, Firmware, PartialApply, FileSave };

// "<model>_<identifier>_<YYYYMMDD-HHMMSS><UTC offset>_<reason>", e.g.
// "KARMEL_A2_DI001_20140307-150409+0100_load", in local time, with every character of model and
// identifier that is not safe in a file name on any system replaced by '_'. The offset keeps
// backups in order across a daylight-saving change.
std::string settingsBackupName(const SDevInfo& identity, std::chrono::system_clock::time_point when,
                               EBackupReason reason);
// The word a backup name ends with, and its Polish description for the user.
const char* backupReasonWord(EBackupReason reason);
const char* backupReasonText(EBackupReason reason);

// A backup file found in the backup folder.
struct SBackupFile {
    std::string path;
    std::string fileName;
    std::string owner; // "<model>_<identifier>" as the name has them
    std::chrono::system_clock::time_point when;
    std::optional<EBackupReason> reason; // backups of earlier versions do not say
};

// What a backup's file name says; nullopt for any other file. Names without a UTC offset (from
// earlier versions) are read as local time.
std::optional<SBackupFile> parseSettingsBackupName(const std::string& fileName);

// The backups of one controller (by model and identifier) in folder ('/'-terminated), newest
// first.
std::vector<SBackupFile> listSettingsBackups(const std::string& folder, const SDevInfo& identity);
// The same in the "Backup" folder of the settings folder.
std::vector<SBackupFile> listSettingsBackups(const SDevInfo& identity);
std::string settingsBackupFolder();

// Saves the live configuration as an ordinary settings file in folder ('/'-terminated), named by
// settingsBackupName. An existing backup is never replaced: a later one in the same second gets
// "_2", "_3", ... The copy carries the backup's time as its time stamp, so it loads like any
// exported file; the live record is left as it is.
SSettingsBackup writeSettingsBackup(const std::string& folder, const CDeviceConfig& live,
                                    std::chrono::system_clock::time_point now,
                                    EBackupReason reason);
// The same in the "Backup" folder of the settings folder, created when missing.
SSettingsBackup
writeSettingsBackup(const CDeviceConfig& live, EBackupReason reason,
                    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// Copies the settings file at source, byte for byte, into folder ('/'-terminated) under a backup
// name for identity, as writeSettingsBackup names them: the version of an edited file that a save
// is about to replace.
SSettingsBackup copySettingsFileToBackup(const std::string& folder, const std::string& source,
                                         const SDevInfo& identity,
                                         std::chrono::system_clock::time_point now,
                                         EBackupReason reason);
// The same into the "Backup" folder of the settings folder, created when missing.
SSettingsBackup copySettingsFileToBackup(
    const std::string& source, const SDevInfo& identity, EBackupReason reason,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

} // namespace torva
