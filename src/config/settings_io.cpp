#include "config/settings_io.h"

#include "config/device_type.h"
#include "config/printable_text.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"
#include "config/settings_number.h"
#include "config/value_check.h"
#include "lang/source_text.h"
#include "lang/translate_with.h"
#include "lang/translation.h"

#include <filesystem>
#include <optional>

namespace torva {

namespace {

template <class... TVisitors> struct SOverloaded : TVisitors... { using TVisitors::operator()...; };
// Spelled out for compilers without aggregate deduction (clang 14, which builds the fuzzers).
template <class... TVisitors> SOverloaded(TVisitors...) -> SOverloaded<TVisitors...>;

enum class ERequirement { NotRead, Mandatory, Optional };

ERequirement requirementOf(ESettingsGroup group, bool fileFromLiveDeviceType) {
    switch (group) {
    case ESettingsGroup::Base:
    case ESettingsGroup::Sensors:
    case ESettingsGroup::Maps:
        return ERequirement::Mandatory;
    case ESettingsGroup::Advanced:
        // Injector settings only suit the controller type they were made for.
        return fileFromLiveDeviceType ? ERequirement::Mandatory : ERequirement::NotRead;
    case ESettingsGroup::Service:
    case ESettingsGroup::Tempomat:
    case ESettingsGroup::TpsDigitalMaps:
        return ERequirement::Optional;
    case ESettingsGroup::TimeStamp:  // read before the groups
    case ESettingsGroup::DeviceType: // read before the groups
    case ESettingsGroup::DevInfo:
        break;
    }
    return ERequirement::NotRead;
}

// Stores a file's value; an integer member takes it only when the truncated number fits, so
// -6 injectors never become 250. False when it does not.
bool assign(const SSettingsKey& entry, CDeviceConfig& destination, const std::string& text) {
    return std::visit(SOverloaded{
                          [&](std::string* value) {
                              *value = escapeUnprintable(text);
                              return true;
                          },
                          [&](double* value) {
                              *value = parseSettingsNumber(text);
                              return true;
                          },
                          [&]<class TInteger>(TInteger* value) {
                              const double number = parseSettingsNumber(text);
                              if (checkMemberValue(destination, entry, number))
                                  return false;
                              *value = truncateToField<TInteger>(number);
                              return true;
                          },
                      },
                      entry.field(destination));
}

// The line a refusal names: "wiersz N: " before the reason.
std::string onLine(const CSettingsFile& file, const std::string& key, const std::string& reason) {
    const std::size_t line = file.lineOf(key);
    if (line == 0)
        return reason;
    return translateWith(PL("wiersz %s: %s"), {std::to_string(line), reason});
}

std::string missingKey(const CSettingsFile& file, const std::string& key) {
    if (file.isOverlong(key))
        return translateWith(
            PL("wiersz %s jest dłuższy niż %s znaków"),
            {std::to_string(file.lineOf(key)), std::to_string(CSettingsFile::kMaxLineLength)});
    if (file.lineOf(key) != 0)
        return onLine(file, key, translateWith(PL("brak wartości klucza %s"), {key}));
    return translateWith(PL("brak klucza %s"), {key});
}

std::string unreadable(const CSettingsFile& file) {
    switch (file.readFault()) {
    case EFileReadFault::NotRegular:
        return translate(PL("to nie jest zwykły plik"));
    case EFileReadFault::TooLarge:
        return translateWith(PL("plik jest większy niż %s MB"),
                             {std::to_string(CSettingsFile::kMaxFileBytes / (1024 * 1024))});
    default:
        return describeFileReadFault(file.readFault(), file.readError());
    }
}

// The device type as the file states it, when it is one the tool works with.
std::optional<std::uint8_t> fileDeviceType(const CSettingsFile& file, std::string& refusal) {
    const std::string key(kDeviceTypeKey);
    const std::optional<double> number = file.findNumber(key);
    if (!number) {
        refusal = missingKey(file, key);
        return std::nullopt;
    }
    const std::int64_t type = truncateToInteger(*number);
    if (type < 0 || type > 255 || !isKnownDeviceType(static_cast<std::uint8_t>(type))) {
        refusal = onLine(file, key,
                         translateWith(PL("nieznany typ sterownika %s"),
                                       {escapeUnprintable(file.find(key).value_or(""))}));
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(type);
}

void applySupplyVoltageLimit(CDeviceConfig& destination, std::uint8_t liveDeviceType) {
    if (isTwentyFourVoltDevice(liveDeviceType))
        destination.m_base.m_minVCC = 20;
    else if (liveDeviceType == kDeviceType3 || liveDeviceType == kDeviceType40)
        destination.m_base.m_minVCC = 10;
}

} // namespace

bool writeSettings(const std::string& path, const CDeviceConfig& record, std::string* failure) {
    CDeviceConfig copy = record; // the key table locates members in a mutable record
    CSettingsFile file;
    const auto failed = [&] {
        if (failure)
            *failure = file.writeFailure();
        return false;
    };
    if (!file.create(path))
        return failed();
    for (const SSettingsKey& entry : settingsKeys()) {
        std::visit(SOverloaded{
                       [&](std::string* text) { file.writeText(entry.key, *text); },
                       [&](double* number) { file.writeNumber(entry.key, *number); },
                       [&](auto* integer) { file.writeInteger(entry.key, *integer); },
                   },
                   entry.field(copy));
    }
    return file.commit() || failed();
}

SLoadTarget loadTargetOf(const SDevInfo& controller) {
    return SLoadTarget(controller.m_deviceID, controller.m_version);
}

bool readSettings(const std::string& path, CDeviceConfig& destination, const SLoadTarget& target,
                  std::string* refusal) {
    std::string reason;
    const auto refuse = [&](std::string why) {
        if (refusal)
            *refusal = std::move(why);
        return false;
    };
    CSettingsFile file;
    if (!file.open(path, isSettingsKey))
        return refuse(unreadable(file));

    const std::string timeStampKey(kTimeStampKey);
    const std::optional<std::string> timeStamp = file.find(timeStampKey);
    if (!timeStamp)
        return refuse(missingKey(file, timeStampKey));
    destination.m_timeStamp = escapeUnprintable(*timeStamp);

    const std::optional<std::uint8_t> deviceType = fileDeviceType(file, reason);
    if (!deviceType)
        return refuse(reason);
    destination.m_devInfo.m_deviceID = *deviceType;

    const bool fileFromLiveDeviceType = *deviceType == target.deviceType;
    for (const SSettingsKey& entry : settingsKeys()) {
        const ERequirement requirement = requirementOf(entry.group, fileFromLiveDeviceType);
        if (requirement == ERequirement::NotRead)
            continue;
        const std::optional<std::string> value = file.find(entry.key);
        if (value && !assign(entry, destination, *value))
            return refuse(onLine(file, entry.key,
                                 describeValueRefusal(*checkMemberValue(
                                     destination, entry, parseSettingsNumber(*value)))));
        if (!value && requirement == ERequirement::Mandatory)
            return refuse(missingKey(file, entry.key));
    }

    applySupplyVoltageLimit(destination, target.deviceType);

    // The values as the target controller would encode them.
    CDeviceConfig encoded = destination;
    encoded.m_devInfo.m_deviceID = target.deviceType;
    encoded.m_devInfo.m_version = target.firmwareVersion;
    if (const std::optional<SValueRefusal> notHeld = checkRecordValues(encoded))
        return refuse(onLine(file, notHeld->key, describeValueRefusal(*notHeld)));
    return true;
}

std::string settingsLoadFailureText(const std::string& path, const std::string& refusal) {
    const std::string name = std::filesystem::path(path).filename().string();
    return translate(PL("Nie można wczytać ustawień z pliku")) + "\n" + escapeUnprintable(name) +
           ": " + refusal;
}

SSettingsIdentity readSettingsIdentity(const std::string& path) {
    SSettingsIdentity identity;
    CSettingsFile file;
    const auto identityKey = [](std::string_view key) { return key.starts_with("m_devInfo."); };
    if (!file.open(path, identityKey))
        return identity;
    identity.readable = true;
    CDeviceConfig scratch;
    for (const SSettingsKey& entry : settingsKeys()) {
        if (!identityKey(entry.key))
            continue;
        if (const std::optional<std::string> value = file.find(entry.key))
            assign(entry, scratch, *value); // a value its field cannot hold stays unset
    }
    identity.hasVersion = file.find("m_devInfo.m_version").has_value();
    identity.devInfo = scratch.m_devInfo;
    return identity;
}

} // namespace torva
