#pragma once

#include "config/device_config.h"

#include <cstdint>

namespace torva {

// What the settings migration after a firmware update left to send to the controller.
struct SMigrationWrites {
    bool service = false;
    bool tempomat = false;
    // The pressure encoding changed: the pressures kept from before programming go back into
    // the record and the base block is written.
    bool basePressures = false;
    // A final reset (sub-code 10) followed by a 1000 ms wait.
    bool reset = false;
};

// Brings the settings the new firmware reads differently, or newly reads, to the values it
// expects after an update from oldVersion to newVersion. Changes only service and tempomat
// members of live; the caller writes the blocks it is told to.
SMigrationWrites migrateSettings(CDeviceConfig& live, std::int32_t oldVersion,
                                 std::int32_t newVersion);

} // namespace torva
