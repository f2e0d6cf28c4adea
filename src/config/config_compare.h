#pragma once

#include "config/config_diff_groups.h"
#include "config/device_config.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torva {

// One whole configuration as the settings file states it: the number of every settings key in
// display units, at the precision a settings file keeps (6 significant digits), so an exported
// file equals the record it came from and "1500.00" equals 1500. Taking a snapshot never
// changes its source.
struct SConfigSnapshot {
    std::vector<std::optional<double>> numbers; // per settingsKeys() index; nullopt: not carried
    std::uint8_t deviceType = 0;
    std::int32_t firmwareVersion = 0;
};

SConfigSnapshot snapshotOf(const CDeviceConfig& record);

// base with every number the snapshot carries written in (whole members truncated), for showing
// a file's maps and axes the way the pages format them; keys the snapshot lacks keep base's value.
CDeviceConfig recordOf(const SConfigSnapshot& snapshot, const CDeviceConfig& base);

// A settings file (an export or a backup); nullopt with failure saying why when it cannot be
// read or names no controller type the tool knows.
std::optional<SConfigSnapshot> snapshotOfFile(const std::string& path, std::string& failure);

// Why a key is left out of the comparison.
enum class EApartReason {
    NotInFirst,  // the first configuration does not carry the key
    NotInSecond, // the second configuration does not carry the key
    DeviceType,  // the controller type lacks the group, or it only suits the type it came from
    Firmware,    // the controller's firmware has no such block
};

struct SKeyDifference {
    std::size_t keyIndex; // into settingsKeys()
    double first;
    double second;
};

struct SApartKey {
    std::size_t keyIndex;
    EApartReason reason;
};

struct SConfigDiff {
    std::vector<SKeyDifference> differences; // settings-file key order
    std::vector<SApartKey> apart;            // settings-file key order
    bool identical() const { return differences.empty(); }
};

// Compares member by member, the first configuration standing for the controller: its type and
// firmware decide which groups exist. The time stamp, identity and statistics are no
// configuration and are never compared; neither is m_base.m_minVCC, which every load sets by the
// connected controller's type.
SConfigDiff compareConfigurations(const SConfigSnapshot& controller, const SConfigSnapshot& other);

// Why a whole group is left out when the controller (type, firmware) meets a configuration of
// otherType; nullopt when the group is compared (and may be written).
std::optional<EApartReason> groupApartReason(const SDiffGroup& group, std::uint8_t controllerType,
                                             std::int32_t controllerFirmware,
                                             std::uint8_t otherType);

// Apart keys summed up per group and reason, for reports that do not list them one by one.
struct SApartGroup {
    std::size_t group; // into diffGroups()
    EApartReason reason;
    std::size_t keys;
};
std::vector<SApartGroup> apartGroups(const SConfigDiff& diff);

// A number as the settings file shows it.
std::string diffValueText(double value);

} // namespace torva
