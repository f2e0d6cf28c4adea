#include "config/config_compare.h"

#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"
#include "config/settings_number.h"

#include <cmath>
#include <limits>
#include <type_traits>
#include <variant>

namespace torva {

namespace {

// The number a settings file would hold for value.
double atFilePrecision(double value) {
    return parseSettingsNumber(formatSettingsNumber(value));
}

std::optional<double> numberOf(const SettingsField& field) {
    return std::visit(
        [](auto* member) -> std::optional<double> {
            if constexpr (std::is_same_v<decltype(member), std::string*>)
                return std::nullopt;
            else
                return atFilePrecision(static_cast<double>(*member));
        },
        field);
}

// The group of every settings key, worked out once.
const std::vector<std::optional<std::size_t>>& groupOfEachKey() {
    static const std::vector<std::optional<std::size_t>> groups = [] {
        std::vector<std::optional<std::size_t>> result;
        for (const SSettingsKey& entry : settingsKeys())
            result.push_back(diffGroupOfKey(entry.key));
        return result;
    }();
    return groups;
}

std::size_t supplyVoltageKey() {
    static const std::size_t index = [] {
        const auto& keys = settingsKeys();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].key == "m_base.m_minVCC")
                return i;
        }
        return keys.size();
    }();
    return index;
}

// A snapshot made by hand may be short; what it lacks it does not carry.
std::optional<double> numberAt(const SConfigSnapshot& snapshot, std::size_t index) {
    return index < snapshot.numbers.size() ? snapshot.numbers[index] : std::nullopt;
}

} // namespace

SConfigSnapshot snapshotOf(const CDeviceConfig& record) {
    CDeviceConfig copy = record; // the key table locates members in a mutable record
    SConfigSnapshot snapshot;
    const auto& keys = settingsKeys();
    snapshot.numbers.reserve(keys.size());
    for (const SSettingsKey& entry : keys)
        snapshot.numbers.push_back(numberOf(entry.field(copy)));
    snapshot.deviceType = record.m_devInfo.m_deviceID;
    snapshot.firmwareVersion = record.m_devInfo.m_version;
    return snapshot;
}

CDeviceConfig recordOf(const SConfigSnapshot& snapshot, const CDeviceConfig& base) {
    CDeviceConfig record = base;
    const auto& keys = settingsKeys();
    for (std::size_t i = 0; i < keys.size() && i < snapshot.numbers.size(); ++i) {
        const std::optional<double>& number = snapshot.numbers[i];
        if (!number)
            continue;
        std::visit(
            [&](auto* member) {
                using Member = std::remove_pointer_t<decltype(member)>;
                if constexpr (std::is_floating_point_v<Member>) {
                    *member = *number;
                } else if constexpr (std::is_integral_v<Member>) {
                    // A hand-edited file may hold anything; a number the member cannot hold
                    // leaves base's value rather than wrapping.
                    const double whole = std::trunc(*number);
                    if (whole >= static_cast<double>(std::numeric_limits<Member>::min()) &&
                        whole <= static_cast<double>(std::numeric_limits<Member>::max()))
                        *member = static_cast<Member>(whole);
                }
            },
            keys[i].field(record));
    }
    return record;
}

std::optional<SConfigSnapshot> snapshotOfFile(const std::string& path, std::string& failure) {
    CSettingsFile file;
    if (!file.open(path, isSettingsKey)) {
        failure =
            path + ": " +
            describeFileReadFault(file.readFault(), file.readError(), CSettingsFile::kMaxFileBytes);
        return std::nullopt;
    }
    SConfigSnapshot snapshot;
    const auto& keys = settingsKeys();
    snapshot.numbers.reserve(keys.size());
    for (const SSettingsKey& entry : keys) {
        const std::optional<double> number =
            entry.group == ESettingsGroup::TimeStamp ? std::nullopt : file.findNumber(entry.key);
        snapshot.numbers.push_back(number ? std::optional(atFilePrecision(*number)) : std::nullopt);
    }
    const std::optional<double> type = file.findNumber(std::string(kDeviceTypeKey));
    const std::int64_t typeNumber = type ? truncateToInteger(*type) : 0;
    if (typeNumber < 0 || typeNumber > 255 ||
        !isKnownDeviceType(static_cast<std::uint8_t>(typeNumber))) {
        failure = path + ": no settings file of a known controller type";
        return std::nullopt;
    }
    snapshot.deviceType = static_cast<std::uint8_t>(typeNumber);
    if (const std::optional<double> version = file.findNumber("m_devInfo.m_version"))
        snapshot.firmwareVersion = static_cast<std::int32_t>(truncateToInteger(*version));
    return snapshot;
}

SConfigDiff compareConfigurations(const SConfigSnapshot& controller, const SConfigSnapshot& other) {
    SConfigDiff diff;
    const auto& keyGroups = groupOfEachKey();
    const auto groups = diffGroups();
    std::optional<std::size_t> currentGroup;
    std::optional<EApartReason> groupApart;
    for (std::size_t i = 0; i < keyGroups.size(); ++i) {
        const std::optional<std::size_t>& group = keyGroups[i];
        // A load sets the supply-voltage limit by the connected controller's type whatever the
        // file says, so no file can carry it: like the identity, it is not compared.
        if (!group || i == supplyVoltageKey())
            continue;
        if (group != currentGroup) {
            currentGroup = group;
            groupApart = groupApartReason(groups[*group], controller.deviceType,
                                          controller.firmwareVersion, other.deviceType);
        }
        const std::optional<double> first = numberAt(controller, i);
        const std::optional<double> second = numberAt(other, i);
        if (groupApart)
            diff.apart.push_back({i, *groupApart});
        else if (!first)
            diff.apart.push_back({i, EApartReason::NotInFirst});
        else if (!second)
            diff.apart.push_back({i, EApartReason::NotInSecond});
        else if (*first != *second)
            diff.differences.push_back({i, *first, *second});
    }
    return diff;
}

std::optional<EApartReason> groupApartReason(const SDiffGroup& group, std::uint8_t controllerType,
                                             std::int32_t controllerFirmware,
                                             std::uint8_t otherType) {
    const EBlockCondition condition = blockInfo(group.block).condition;
    if (!blockExists(group.block, controllerFirmware, controllerType))
        return condition == EBlockCondition::TpsDigitalDevice ? EApartReason::DeviceType
                                                              : EApartReason::Firmware;
    if (condition == EBlockCondition::TpsDigitalDevice && !hasTpsDigitalMaps(otherType))
        return EApartReason::DeviceType;
    // Injector settings only suit the controller type they were made for; a load skips them.
    if (group.block == EBlock::Advanced && controllerType != otherType)
        return EApartReason::DeviceType;
    return std::nullopt;
}

std::vector<SApartGroup> apartGroups(const SConfigDiff& diff) {
    std::vector<SApartGroup> summary;
    for (const SApartKey& apart : diff.apart) {
        const std::size_t group = groupOfEachKey()[apart.keyIndex].value_or(0);
        if (!summary.empty() && summary.back().group == group &&
            summary.back().reason == apart.reason)
            ++summary.back().keys;
        else
            summary.push_back({group, apart.reason, 1});
    }
    return summary;
}

std::string diffValueText(double value) {
    return formatSettingsNumber(value);
}

} // namespace torva
