#include "ui/pages/settings/injector_presets.h"

#include "config/device_type.h"

namespace torva {

SInjectorPreset injectorPreset(std::uint8_t injectorType, std::uint8_t deviceType) {
    if (isTwentyFourVoltDevice(deviceType))
        return {25, 2.0, 1.0};
    switch (injectorType) {
    case 14: // APIS SOLO 1.6 Ohm
        return {25, 4.0, 2.0};
    case 18: // Hana 1.9 Ohm
    case 26: // Barracuda 1.9 Ohm
        return {30, 3.0, 1.5};
    case 32: // TYPE 34
        return {25, 3.0, 1.0};
    default:
        return {30, 3.5, 1.0};
    }
}

} // namespace torva
