#include "config/settings_backup.h"

#include "config/data_folders.h"
#include "config/settings_export.h"
#include "config/settings_io.h"
#include "platform/folders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace torva {

namespace {

// Enough to tell backups apart; the rest of a long or garbled identity only makes the name
// unwieldy (and could pass the file-name length limit).
constexpr std::size_t kMaxPartLength = 40;
// Backups of one controller in one second; more means something loops, not a fitter at work.
constexpr int kMaxSameSecondBackups = 100;

std::string fileNamePart(const std::string& text) {
    std::string part;
    for (const char c : text.substr(0, kMaxPartLength)) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '.';
        part += safe ? c : '_';
    }
    // A leading dot would hide the file; an empty part would leave a name that says nothing.
    if (part.empty() || part.front() == '.')
        part.insert(part.begin(), 'x');
    return part;
}

std::string compactTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    char text[32] = {};
    if (!localtime_r(&seconds, &local))
        return "00000000-000000";
    return std::string(text, std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local));
}

// Creates path as an empty file unless something is there already; the placeholder claims the
// name, so two backups can never pick the same one.
enum class EClaim { Claimed, Taken, Failed };
EClaim claim(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        return EClaim::Claimed;
    }
    return errno == EEXIST ? EClaim::Taken : EClaim::Failed;
}

std::string candidate(const std::string& folder, const std::string& name, int number) {
    const std::string suffix = number == 1 ? std::string() : "_" + std::to_string(number);
    return folder + name + suffix + "." + kSettingsFileExtension;
}

} // namespace

std::string settingsBackupName(const SDevInfo& identity,
                               std::chrono::system_clock::time_point when) {
    return fileNamePart(identity.m_modelName) + "_" + fileNamePart(identity.m_serial) + "_" +
           compactTime(when);
}

SSettingsBackup writeSettingsBackup(const std::string& folder, const CDeviceConfig& live,
                                    std::chrono::system_clock::time_point now) {
    const std::string name = settingsBackupName(live.m_devInfo, now);
    SSettingsBackup backup;
    for (int number = 1; number <= kMaxSameSecondBackups; ++number) {
        backup.path = candidate(folder, name, number);
        const EClaim claimed = claim(backup.path);
        if (claimed == EClaim::Taken)
            continue;
        if (claimed == EClaim::Failed) {
            backup.failure = std::strerror(errno);
            return backup;
        }
        CDeviceConfig copy = live;
        copy.m_timeStamp = settingsTimeStamp(now);
        errno = 0;
        if (writeSettings(backup.path, copy)) {
            backup.written = true;
            return backup;
        }
        backup.failure = std::strerror(errno != 0 ? errno : EIO);
        std::remove(backup.path.c_str()); // the empty placeholder
        return backup;
    }
    backup.path = folder + name;
    backup.failure = std::strerror(EEXIST);
    return backup;
}

SSettingsBackup writeSettingsBackup(const CDeviceConfig& live,
                                    std::chrono::system_clock::time_point now) {
    const std::string folder = settingsFolder() + "Backup/";
    createFolders(folder);
    return writeSettingsBackup(folder, live, now);
}

} // namespace torva
