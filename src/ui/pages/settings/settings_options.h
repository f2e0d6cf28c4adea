#pragma once

#include "ui/pages/sensors/fuel_sensor_rules.h"

#include <cstdint>
#include <string>
#include <vector>

namespace torva {

class CDeviceConfig;

// The settings page's combo lists. Each item carries the value written to its field; the text is
// a Polish source text translated at display time, the value never is.
struct SComboOption {
    std::string text;
    int value;
};
using ComboOptions = std::vector<SComboOption>;

const ComboOptions& fuelTypeOptions();
const ComboOptions& rpmSignalTypeOptions();
const ComboOptions& tpsTypeOptions();
const ComboOptions& pressureSensorOptions();
const ComboOptions& temperatureSensorOptions(); // "Reduktora:" and "Gazu:"
const ComboOptions& emulatorOptions();          // the five emulator combos
const ComboOptions& injectionControlOptions();  // "Sposób sterowania"
const ComboOptions& ignitionOrderOptions();
const ComboOptions& injectorTypeOptions();
// 1 ... the controller's injector count; device type 37 drives two banks ("2 x %d").
ComboOptions mountedInjectorOptions(std::uint8_t deviceType, int injectorCount);
// The fuel level sensor types the settings page offers; the virtual sensor only on firmware
// that has it, as on the sensor dialog.
ComboOptions fuelSensorOptions(std::int32_t firmwareVersion);
constexpr int kVirtualFuelSensor = fuel_sensor::kVirtual;
constexpr std::int32_t kVirtualFuelSensorVersion = fuel_sensor::kVirtualVersion;

// Index of the first item carrying value, or -1.
int optionIndex(const ComboOptions& options, int value);

// TPS type values of "Typ TPS".
enum class ETpsType { Analog = 0, Digital = 1, External = 2 };
// Digital: bit 4 of m_advancedFlags2; external: that bit clear and bit 3 of m_tempomatFlags
// set; analog: both clear.
ETpsType tpsType(const CDeviceConfig& config);

// "Sposób sterowania" lives in bits 1, 5 and 7 of m_tempomatFlags: the value shown is 2 when
// bit 1 is set, else 32 for bit 5, else 128 for bit 7, else 0.
int injectionControlValue(std::uint16_t tempomatFlags);
// The flags with the bit pattern of value (2, 32, 128 or 0) in place of the old one.
std::uint16_t withInjectionControl(std::uint16_t tempomatFlags, int value);

} // namespace torva
