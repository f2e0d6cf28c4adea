#pragma once

namespace torva {

class CDeviceConfig;

// Which of the settings page's rows (label, field and up-down together) are shown for the
// connected controller's device type, firmware version and settings.
struct SSettingsVisibility {
    bool maxRpmOnGas = false;        // "Maksymalne obroty na gazie:", from version 264
    bool rpmThreshold = false;       // "Próg dla sygnału obrotów:" (device types 25, 37, 40)
    bool rpmSignalType = false;      // "Obroty" / "Typ:" (device type 3)
    bool tpsDouble = false;          // "TPS podwójny": not with a digital TPS
    bool tpsEmulator1 = false;       // "Emulator TPS1": analog and external TPS
    bool tpsEmulator2 = false;       // "Emulator TPS2": as TPS1, hidden while "TPS podwójny" is on
    bool digitalTpsEmulator = false; // "Emulator TPS cyfrowy": digital TPS only
    bool mafEmulator = false;        // "Emulator MAF": hidden while "Obsługa tempomatu" is on
    bool mapAveraging = false;       // "Uśrednianie map": type 3 always, the others from 270
    // "Sposób sterowania", "Próg dla sygnału", "Opóźnienie wtrysku gazu [st]" and "Kolejność
    // zapłonów (DIESEL)": device types 25, 37 and 40 from version 275.
    bool injectionSequence = false;
    bool workMachines = false; // "Maszyny robocze": type 3 from 274, the others from 285
    bool minGasTempr = false;  // "Minimalna temperatura gazu:" and its box, from 300
};

SSettingsVisibility settingsVisibility(const CDeviceConfig& config);

} // namespace torva
