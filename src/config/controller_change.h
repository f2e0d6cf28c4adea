#pragma once

#include "config/device_config.h"

namespace torva {

// How the controller that answered after a lost link relates to the one the pages show.
enum class EControllerChange {
    None,          // the same controller, holding the same configuration
    Configuration, // the same controller, but its configuration is no longer the one shown
    Controller,    // another controller: model, identifier or firmware differ
};

// Compares the identity and then every block the controller has, as the blocks go over the
// line, so a value that differs only below the line's resolution (a volt figure against its ADC
// count) is no change. shown: the record the pages were built from; read: the record read now.
EControllerChange controllerChange(const CDeviceConfig& shown, const CDeviceConfig& read);

} // namespace torva
