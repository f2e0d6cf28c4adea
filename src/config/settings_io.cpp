#include "config/settings_io.h"

#include "config/device_type.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"
#include "config/settings_number.h"

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

void assign(const SettingsField& field, const std::string& text) {
    std::visit(SOverloaded{
                   [&](std::string* value) { *value = text; },
                   [&](double* value) { *value = parseSettingsNumber(text); },
                   [&]<class TInteger>(TInteger* value) {
                       *value = truncateToField<TInteger>(parseSettingsNumber(text));
                   },
               },
               field);
}

// The device type as the file states it, when it is one the tool works with.
std::optional<std::uint8_t> fileDeviceType(const CSettingsFile& file) {
    const std::optional<double> number = file.findNumber(std::string(kDeviceTypeKey));
    if (!number)
        return std::nullopt;
    const std::int64_t type = truncateToInteger(*number);
    if (type < 0 || type > 255 || !isKnownDeviceType(static_cast<std::uint8_t>(type)))
        return std::nullopt;
    return static_cast<std::uint8_t>(type);
}

void applySupplyVoltageLimit(CDeviceConfig& destination, std::uint8_t liveDeviceType) {
    if (isTwentyFourVoltDevice(liveDeviceType))
        destination.m_base.m_minVCC = 20;
    else if (liveDeviceType == kDeviceType3 || liveDeviceType == kDeviceType40)
        destination.m_base.m_minVCC = 10;
}

} // namespace

bool writeSettings(const std::string& path, const CDeviceConfig& record) {
    CDeviceConfig copy = record; // the key table locates members in a mutable record
    CSettingsFile file;
    if (!file.create(path))
        return false;
    for (const SSettingsKey& entry : settingsKeys()) {
        std::visit(SOverloaded{
                       [&](std::string* text) { file.writeText(entry.key, *text); },
                       [&](double* number) { file.writeNumber(entry.key, *number); },
                       [&](auto* integer) { file.writeInteger(entry.key, *integer); },
                   },
                   entry.field(copy));
    }
    return file.commit();
}

bool readSettings(const std::string& path, CDeviceConfig& destination,
                  std::uint8_t liveDeviceType) {
    CSettingsFile file;
    if (!file.open(path, isSettingsKey))
        return false;

    const std::optional<std::string> timeStamp = file.find(std::string(kTimeStampKey));
    if (!timeStamp)
        return false;
    destination.m_timeStamp = *timeStamp;

    const std::optional<std::uint8_t> deviceType = fileDeviceType(file);
    if (!deviceType)
        return false;
    destination.m_devInfo.m_deviceID = *deviceType;

    const bool fileFromLiveDeviceType = *deviceType == liveDeviceType;
    for (const SSettingsKey& entry : settingsKeys()) {
        const ERequirement requirement = requirementOf(entry.group, fileFromLiveDeviceType);
        if (requirement == ERequirement::NotRead)
            continue;
        const std::optional<std::string> value = file.find(entry.key);
        if (value)
            assign(entry.field(destination), *value);
        else if (requirement == ERequirement::Mandatory)
            return false;
    }

    applySupplyVoltageLimit(destination, liveDeviceType);
    return true;
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
            assign(entry.field(scratch), *value);
    }
    identity.hasVersion = file.find("m_devInfo.m_version").has_value();
    identity.devInfo = scratch.m_devInfo;
    return identity;
}

} // namespace torva
