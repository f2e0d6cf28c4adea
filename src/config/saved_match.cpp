#include "config/saved_match.h"

#include "config/config_compare.h"
#include "config/data_folders.h"
#include "config/settings_export.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/local_time.h"

#include <algorithm>
#include <filesystem>

namespace torva {

namespace {

namespace fs = std::filesystem;

bool equalsFile(const SConfigSnapshot& live, const std::string& path) {
    std::string failure;
    const std::optional<SConfigSnapshot> file = snapshotOfFile(path, failure);
    return file && file->deviceType == live.deviceType &&
           compareConfigurations(live, *file).identical();
}

// Settings files directly in folder, newest first.
std::vector<std::string> settingsFilesIn(const std::string& folder) {
    std::vector<std::pair<fs::file_time_type, std::string>> files;
    std::error_code error;
    const std::string extension = std::string(".") + kSettingsFileExtension;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension && entry.is_regular_file(error))
            files.emplace_back(entry.last_write_time(error), entry.path().string());
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<std::string> paths;
    for (auto& file : files)
        paths.push_back(std::move(file.second));
    return paths;
}

} // namespace

SSavedMatch findSavedMatch(const CDeviceConfig& live, const std::string& backupFolder,
                           const std::string& settingsFolder) {
    const SConfigSnapshot snapshot = snapshotOf(live);
    SSavedMatch match;
    const std::vector<SBackupFile> backups = listSettingsBackups(backupFolder, live.m_devInfo);
    if (!backups.empty())
        match.newestBackup = backups.front();
    for (const SBackupFile& backup : backups) {
        if (equalsFile(snapshot, backup.path)) {
            match.matchingFile = backup.path;
            return match;
        }
    }
    for (const std::string& path : settingsFilesIn(settingsFolder)) {
        if (equalsFile(snapshot, path)) {
            match.matchingFile = path;
            return match;
        }
    }
    return match;
}

SSavedMatch findSavedMatch(const CDeviceConfig& live) {
    return findSavedMatch(live, settingsBackupFolder(), settingsFolder());
}

std::string savedMatchText(const SSavedMatch& match) {
    if (!match.matchingFile.empty())
        return translate(PL("Zgodne z:")) + " " + fs::path(match.matchingFile).filename().string();
    if (match.newestBackup) {
        std::string text =
            translate(PL("Ustawienia różnią się od najnowszej kopii zapasowej z %s"));
        if (const std::size_t at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, localTimeText(match.newestBackup->when, "%Y-%m-%d %H:%M"));
        return text;
    }
    return {};
}

} // namespace torva
