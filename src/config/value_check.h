#pragma once

#include "config/block_table.h"
#include "config/device_config.h"
#include "config/settings_keys.h"

#include <optional>
#include <span>
#include <string>

namespace torva {

// Whether a configuration member can hold a value: the one check every path that brings values
// from outside goes through (settings files, torvactl set, axis and map load, typed map cells),
// so that nothing reports success while the controller holds something else.
//
// A member holds a value when the value is finite, its encoding fits the member's field without
// being clamped, and it reads back within the field's resolution: no closer holdable value lies
// between the value and what the controller keeps. The truncation of fractions that stay inside
// the field (a time-map cell of 1.55 ms kept as 1.5) is the field's own rule and passes. The
// load and RPM axes must also rise strictly once encoded, or the maps cannot place a reading.

enum class EValueFault {
    NotHeld,       // not finite, outside the field, or reads back as another value
    AxisNotRising, // an axis point not above the point before it, once encoded
};

struct SValueRefusal {
    std::string key;
    double value = 0;
    EValueFault fault = EValueFault::NotHeld;
    // NotHeld: what the field holds, in display units; lowest > highest when it holds any finite
    // number (a member kept only in the settings file).
    double lowest = 0;
    double highest = 0;
    // AxisNotRising: the encoded value of the point before it.
    double previous = 0;
};

// Whether the member of key holds value when the rest of the record is context (its device type,
// firmware version, sensor types and TPS flag decide the encoding). Integer members hold the
// value truncated toward zero when that lies within their width.
std::optional<SValueRefusal> checkMemberValue(const CDeviceConfig& context, const SSettingsKey& key,
                                              double value);

// Every number member the blocks carry, then every axis among them (channel 1's block carries
// the RPM axis too); the first refusal in settings-file order.
std::optional<SValueRefusal> checkBlockValues(const CDeviceConfig& record,
                                              std::span<const EBlock> blocks);
// The same for every block the controller of the record's m_devInfo (type and firmware) has,
// and the members kept only in the settings file.
std::optional<SValueRefusal> checkRecordValues(const CDeviceConfig& record);

// "<key>: <value> does not fit the field (<lowest> to <highest>)" or "... is not above the axis
// point before it (<previous>)", translated.
std::string describeValueRefusal(const SValueRefusal& refusal);

} // namespace torva
