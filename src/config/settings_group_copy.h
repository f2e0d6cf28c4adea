#pragma once

#include "config/device_config.h"

#include <cstddef>
#include <span>

namespace torva {

// Copies the members a settings file carries of the given groups (indices into diffGroups())
// from one record into another; every other member of to stays as it was.
void copySettingsGroups(CDeviceConfig& to, const CDeviceConfig& from,
                        std::span<const std::size_t> groups);

} // namespace torva
