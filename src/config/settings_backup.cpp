#include "config/settings_backup.h"

#include "config/data_folders.h"
#include "config/settings_export.h"
#include "config/settings_io.h"
#include "lang/source_text.h"
#include "platform/folders.h"
#include "platform/local_time.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string_view>
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
    return localTimeText(when, "%Y%m%d-%H%M%S%z", "00000000-000000+0000");
}

struct SReasonName {
    EBackupReason reason;
    const char* word;
    const char* text;
};
constexpr std::array<SReasonName, 5> kReasonNames{{
    {EBackupReason::FactorySettings, "factory", PL("ustawienia fabryczne")},
    {EBackupReason::FileLoad, "load", PL("wczytanie pliku")},
    {EBackupReason::Firmware, "firmware", PL("programowanie firmware")},
    {EBackupReason::PartialApply, "partial", PL("częściowe wczytanie")},
    {EBackupReason::FileSave, "save", PL("zapis pliku")},
}};

const SReasonName& reasonName(EBackupReason reason) {
    for (const SReasonName& name : kReasonNames) {
        if (name.reason == reason)
            return name;
    }
    return kReasonNames.front();
}

std::optional<EBackupReason> reasonOfWord(const std::string& word) {
    for (const SReasonName& name : kReasonNames) {
        if (word == name.word)
            return name.reason;
    }
    return std::nullopt;
}

int digitsAt(const std::string& text, std::size_t at, std::size_t count) {
    return std::stoi(text.substr(at, count));
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

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool allLowerLetters(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// "<owner>_<YYYYMMDD>-<HHMMSS>[+-HHMM][_<reason>][_<copy>].dsettings", read from its end, since
// the owner may hold '_' itself.
struct SBackupNameParts {
    std::string owner, date, time, offset, reasonWord, copy;
};

std::optional<SBackupNameParts> splitBackupName(std::string_view name) {
    const std::string suffix = std::string(".") + kSettingsFileExtension;
    if (!name.ends_with(suffix))
        return std::nullopt;
    name.remove_suffix(suffix.size());
    SBackupNameParts parts;
    const auto lastPart = [&name]() -> std::string_view {
        const std::size_t at = name.rfind('_');
        return at == std::string_view::npos ? std::string_view{} : name.substr(at + 1);
    };
    const auto dropLastPart = [&name](std::string_view part) {
        name.remove_suffix(part.size() + 1);
    };
    if (const std::string_view part = lastPart(); part.size() <= 3 && allDigits(part)) {
        parts.copy = part;
        dropLastPart(part);
    }
    if (const std::string_view part = lastPart(); allLowerLetters(part)) {
        parts.reasonWord = part;
        dropLastPart(part);
    }
    const std::string_view stamp = lastPart();
    const bool withOffset = stamp.size() == 20;
    if ((stamp.size() != 15 && !withOffset) || !allDigits(stamp.substr(0, 8)) || stamp[8] != '-' ||
        !allDigits(stamp.substr(9, 6)))
        return std::nullopt;
    if (withOffset && ((stamp[15] != '+' && stamp[15] != '-') || !allDigits(stamp.substr(16))))
        return std::nullopt;
    parts.date = stamp.substr(0, 8);
    parts.time = stamp.substr(9, 6);
    if (withOffset)
        parts.offset = stamp.substr(15);
    dropLastPart(stamp);
    if (name.empty())
        return std::nullopt;
    parts.owner = name;
    return parts;
}

} // namespace

std::string settingsBackupName(const SDevInfo& identity, std::chrono::system_clock::time_point when,
                               EBackupReason reason) {
    return fileNamePart(identity.m_modelName) + "_" + fileNamePart(identity.m_serial) + "_" +
           compactTime(when) + "_" + reasonName(reason).word;
}

const char* backupReasonWord(EBackupReason reason) {
    return reasonName(reason).word;
}

const char* backupReasonText(EBackupReason reason) {
    return reasonName(reason).text;
}

std::optional<SBackupFile> parseSettingsBackupName(const std::string& fileName) {
    const std::optional<SBackupNameParts> parts = splitBackupName(fileName);
    if (!parts)
        return std::nullopt;
    SBackupFile backup;
    backup.fileName = fileName;
    backup.owner = parts->owner;
    if (!parts->reasonWord.empty()) {
        backup.reason = reasonOfWord(parts->reasonWord);
        if (!backup.reason)
            return std::nullopt;
    }
    const std::string& date = parts->date;
    const std::string& time = parts->time;
    std::tm fields{};
    fields.tm_year = digitsAt(date, 0, 4) - 1900;
    fields.tm_mon = digitsAt(date, 4, 2) - 1;
    fields.tm_mday = digitsAt(date, 6, 2);
    fields.tm_hour = digitsAt(time, 0, 2);
    fields.tm_min = digitsAt(time, 2, 2);
    fields.tm_sec = digitsAt(time, 4, 2);
    std::time_t seconds = 0;
    if (!parts->offset.empty()) {
        const std::string& offset = parts->offset;
        const int minutes = digitsAt(offset, 1, 2) * 60 + digitsAt(offset, 3, 2);
        seconds = timegm(&fields) - (offset[0] == '-' ? -minutes : minutes) * 60;
    } else {
        fields.tm_isdst = -1;
        seconds = std::mktime(&fields);
    }
    // A later backup in the same second carries "_2", "_3", ...: keep them in order.
    const int copy = parts->copy.empty() ? 1 : std::stoi(parts->copy);
    backup.when = std::chrono::system_clock::from_time_t(seconds) + std::chrono::milliseconds(copy);
    return backup;
}

std::vector<SBackupFile> listSettingsBackups(const std::string& folder, const SDevInfo& identity) {
    const std::string prefix =
        fileNamePart(identity.m_modelName) + "_" + fileNamePart(identity.m_serial) + "_";
    std::vector<SBackupFile> backups;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !entry.is_regular_file(error))
            continue;
        std::optional<SBackupFile> backup = parseSettingsBackupName(name);
        // Not another controller's whose identifier merely starts like this one's.
        if (!backup || backup->owner + "_" != prefix)
            continue;
        backup->path = folder + name;
        backups.push_back(std::move(*backup));
    }
    std::sort(backups.begin(), backups.end(),
              [](const SBackupFile& a, const SBackupFile& b) { return a.when > b.when; });
    return backups;
}

std::string settingsBackupFolder() {
    return settingsFolder() + "Backup/";
}

std::vector<SBackupFile> listSettingsBackups(const SDevInfo& identity) {
    return listSettingsBackups(settingsBackupFolder(), identity);
}

// Claims a free backup name in folder and fills it with write (false: it put its reason in
// failure); the placeholder goes again when that fails.
SSettingsBackup writeBackupFile(
    const std::string& folder, const std::string& name,
    const std::function<bool(const std::string& path, std::string& failure)>& write) {
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
        if (write(backup.path, backup.failure)) {
            backup.written = true;
            return backup;
        }
        std::remove(backup.path.c_str()); // the empty placeholder
        return backup;
    }
    backup.path = folder + name;
    backup.failure = std::strerror(EEXIST);
    return backup;
}

SSettingsBackup writeSettingsBackup(const std::string& folder, const CDeviceConfig& live,
                                    std::chrono::system_clock::time_point now,
                                    EBackupReason reason) {
    return writeBackupFile(folder, settingsBackupName(live.m_devInfo, now, reason),
                           [&](const std::string& path, std::string& failure) {
                               CDeviceConfig copy = live;
                               copy.m_timeStamp = settingsTimeStamp(now);
                               return writeSettings(path, copy, &failure);
                           });
}

SSettingsBackup copySettingsFileToBackup(const std::string& folder, const std::string& source,
                                         const SDevInfo& identity,
                                         std::chrono::system_clock::time_point now,
                                         EBackupReason reason) {
    return writeBackupFile(
        folder, settingsBackupName(identity, now, reason), [&](const std::string& path, std::string& failure) {
            std::error_code error;
            std::filesystem::copy_file(source, path,
                                       std::filesystem::copy_options::overwrite_existing, error);
            if (error)
                failure = error.message();
            return !error;
        });
}

SSettingsBackup copySettingsFileToBackup(const std::string& source, const SDevInfo& identity,
                                         EBackupReason reason,
                                         std::chrono::system_clock::time_point now) {
    const std::string folder = settingsBackupFolder();
    createFolders(folder);
    return copySettingsFileToBackup(folder, source, identity, now, reason);
}

SSettingsBackup writeSettingsBackup(const CDeviceConfig& live, EBackupReason reason,
                                    std::chrono::system_clock::time_point now) {
    const std::string folder = settingsBackupFolder();
    createFolders(folder);
    return writeSettingsBackup(folder, live, now, reason);
}

} // namespace torva
