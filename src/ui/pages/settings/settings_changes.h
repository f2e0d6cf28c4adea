#pragma once

#include "config/block_table.h"
#include "ui/pages/settings/settings_options.h"

#include <cstdint>

namespace torva {

class CDeviceConfig;

// Every change the settings page makes to the live configuration, one function each, so that
// the page's sequences (settings_actions.h) keep controller traffic apart from the record.

void applyFuelType(CDeviceConfig& config, int value);      // 1 = CNG
void applyPressureType(CDeviceConfig& config, int value);  // 1 = MPXHZ6400A
void applyRpmSignalType(CDeviceConfig& config, int value); // 1 = 5 V
// Stores the type and loads its preset (injector_presets.h).
void applyInjectorType(CDeviceConfig& config, std::uint8_t type);
void applyMountedInjectors(CDeviceConfig& config, std::uint8_t count);
void applyGasTemperatureSensor(CDeviceConfig& config, std::uint8_t sensorType);
void applyReducerTemperatureSensor(CDeviceConfig& config, std::uint8_t sensorType);
void applyEmulator(CDeviceConfig& config, int channel, std::uint8_t enabled); // channel 0-3
void applyDigitalTpsEmulator(CDeviceConfig& config, std::uint8_t enabled);
// Sets the type's flags and resets the values whose unit the type decides: the cut-off of the
// type, and the tempomat TPS threshold (raw counts and volts must never pass for each other).
// External and analog TPS also get the channel-3 load axis of their unit.
void applyTpsType(CDeviceConfig& config, ETpsType type);
void applyInjectionControl(CDeviceConfig& config, int value);
void applyIgnitionOrder(CDeviceConfig& config, std::uint8_t order);
// On: element 3 of m_emuEnable follows element 2.
void applyTpsDouble(CDeviceConfig& config, bool on);
// turnOffMaf (on with a connected controller): the MAF emulator is switched off as well.
void applyTempomat(CDeviceConfig& config, bool on, bool turnOffMaf);
void applyMapAveraging(CDeviceConfig& config, bool on); // stored inverted
void applyPercentScale(CDeviceConfig& config, bool on);
void applyGasMapWithoutEmulation(CDeviceConfig& config, bool on);
void applyWorkMachines(CDeviceConfig& config, bool on);
void applyMinGasTemprCheck(CDeviceConfig& config, bool on);

// The settings page's check boxes.
enum class ESettingsCheck {
    WorkMachines,           // "Maszyny robocze"
    TpsDouble,              // "TPS podwójny"
    Tempomat,               // "Obsługa tempomatu"
    MapAveraging,           // "Uśrednianie map"
    PercentScale,           // "Skala na mapach procentowa"
    GasMapWithoutEmulation, // "Mapa gazowa aktywna przy wyłączonej emulacji"
    MinGasTemprCheck,       // the box beside "Minimalna temperatura gazu:"
};
// Whether the box shows checked for the record.
bool checkOn(ESettingsCheck check, const CDeviceConfig& config);
// The block that holds the box's bit.
EBlock checkBlock(ESettingsCheck check);

// Read-back for the check boxes.
bool tpsDoubleOn(const CDeviceConfig& config);
bool tempomatOn(const CDeviceConfig& config);
bool mapAveragingOn(const CDeviceConfig& config);
bool percentScaleOn(const CDeviceConfig& config);
bool gasMapWithoutEmulationOn(const CDeviceConfig& config);
bool workMachinesOn(const CDeviceConfig& config);
bool minGasTemprCheckOn(const CDeviceConfig& config);

} // namespace torva
