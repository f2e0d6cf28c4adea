#pragma once

#include <cstdint>
#include <optional>

namespace torva {

class CLPGDevice;
class IUserInterface;

// The four thresholds by their captions R1...R4.
enum class EFuelThreshold { R1Quarter, R2Half, R3Hgw, R4Full };

// The check boxes of the fuel level sensor dialog.
enum class EFuelSensorSwitch {
    ValvePower,    // "Zasilanie z zaworu", bit 3 of m_base.m_advancedFlags
    AutoWhenEmpty, // "Start w trybie AUTO po opróżnieniu zbiornika", bit 1
    NoLevelRise,   // "Nie pozwalaj na wzrost poziomu wskazywanego", bit 2
    Buzzer,        // "Sygnał buzzera ciągły", bit 2 of m_base.m_flags
};

// What the fuel level sensor dialog's controls (and the settings page's sensor type) do to the
// live record and the controller. Failures show their message through ui.
class CFuelSensorActions {
public:
    CFuelSensorActions(CLPGDevice& device, IUserInterface& ui);

    // Connected only: the type's preset (fuel_sensor_rules.h), sensors block, and on firmware
    // with the virtual sensor its flag in the tempomat block. False without a controller.
    bool selectType(int type);
    // Connected only: reads one live sample and sets R1 (minimum) or R4 (maximum) from its raw
    // level, then writes the sensors block. The level read, or nullopt when nothing was done.
    std::optional<std::uint8_t> setMinimum();
    std::optional<std::uint8_t> setMaximum();
    // A click on a threshold's up-down; false when refused. Written when connected.
    bool stepThreshold(EFuelThreshold threshold, int clicks);
    // The litres filled into the tank; the tempomat block is written when connected.
    void stepLitres(int clicks);
    // The buzzer acts only with a controller; the others change the record in any case. False
    // when nothing changed.
    bool setSwitch(EFuelSensorSwitch which, bool on);

private:
    std::optional<std::uint8_t> calibrate(bool minimum);

    CLPGDevice& m_device;
    IUserInterface& m_ui;
};

// The switch's state in the live record.
bool fuelSensorSwitchOn(const class CDeviceConfig& config, EFuelSensorSwitch which);

} // namespace torva
