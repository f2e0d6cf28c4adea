#pragma once

#include "config/block_table.h"
#include "ui/pages/settings/settings_options.h"

namespace torva {

class CDeviceConfig;

// The settings page's combos apart from the fuel level sensor type, whose selection the sensor
// dialog's recognition rule decides.
enum class ESettingsCombo {
    FuelType,           // "Typ paliwa"
    RpmSignalType,      // "Obroty" / "Typ:"
    TpsType,            // "Typ TPS"
    PressureSensor,     // "Ciśnienie" / "Typ:"
    ReducerSensor,      // "Reduktora:"
    GasSensor,          // "Gazu:"
    MapSensorEmulator,  // "Emulator Map Sensor" (m_emuEnable[0])
    MafEmulator,        // "Emulator MAF" (m_emuEnable[1])
    Tps1Emulator,       // "Emulator TPS1" (m_emuEnable[2])
    Tps2Emulator,       // "Emulator TPS2" (m_emuEnable[3])
    DigitalTpsEmulator, // "Emulator TPS cyfrowy"
    InjectionControl,   // "Sposób sterowania"
    IgnitionOrder,      // "Kolejność zapłonów (DIESEL)"
    InjectorType,       // "Wtryskiwacze" / "Typ:"
    MountedInjectors,   // "Ilość zamontowanych:"
};

// The items of the combo for the connected controller.
ComboOptions comboOptions(ESettingsCombo combo, const CDeviceConfig& config);
// The value the page selects when it fills the combo from the record.
int comboValue(ESettingsCombo combo, const CDeviceConfig& config);
// The block that holds the combo's field (the TPS type: the service block's flag).
EBlock comboBlock(ESettingsCombo combo);

} // namespace torva
