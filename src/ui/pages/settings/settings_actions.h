#pragma once

#include "config/block_table.h"
#include "ui/pages/settings/settings_spins.h"

#include <cstdint>
#include <functional>

namespace torva {

class CLPGDevice;
class IUserInterface;

// Refreshes a settings-page handler asks for. The page posts them (never refreshes itself
// synchronously: the view may delete the page control on the way).
enum class ESettingsRefresh {
    Page,       // this page, rebuilt through its Create/InitLang path
    AllPages,   // every page of the main window
    ActivePage, // the active page of the multi-page control
};

// The settings page's handlers without the widget: what each control does to the live
// configuration and the controller, in order. The widget reads the control, calls one of these
// and shows the model again.
//
// Combo handlers act only with a connected controller and return whether the model now holds
// the chosen value; false tells the page to put the combo back to the model's value.
class CSettingsActions {
public:
    using RefreshRequest = std::function<void(ESettingsRefresh)>;
    CSettingsActions(CLPGDevice& device, IUserInterface& ui, RefreshRequest refresh);

    // One up-down click (+1 up, -1 down): true when the field changed; then the rule's block
    // is written when connected.
    bool stepSpin(ESettingsSpin spin, int direction);

    // "Typ paliwa": switch to diesel and wait, store, write base, reset, refresh the page, wait
    // 1 s, back to automatic unless the engine ran on diesel before.
    bool selectFuelType(int value);
    // "Ciśnienie" / "Typ:": as the fuel type, without the page refresh.
    bool selectPressureType(int value);
    bool selectRpmSignalType(int value);
    // Only if changed: store the type with its preset, write advanced.
    bool selectInjectorType(int value);
    bool selectMountedInjectors(int value);
    // Only if changed: base, advanced, tempomat (above version 265), sensors.
    bool selectGasTemperatureSensor(int value);
    // Only if changed: base, advanced, sensors.
    bool selectReducerTemperatureSensor(int value);
    // Emulator combos 1-4 (channel 0-3): refresh every page, write base.
    bool selectEmulator(int channel, int value);
    bool selectDigitalTpsEmulator(int value);
    // Store the type, write the channel-3 axis (external, analog), refresh every page, write
    // service and tempomat, reset, refresh the active page.
    bool selectTpsType(int value);
    // "Czujnik poziomu gazu" / "Typ:": the sensor dialog's own type choice.
    bool selectFuelSensorType(int value);
    // Switch to diesel and wait; only then store, write tempomat and reset.
    bool selectInjectionControl(int value);
    bool selectIgnitionOrder(int value);

    // Check boxes (on = checked). Those that need a controller return false without one: the
    // page then puts the box back.
    void setTpsDouble(bool on);
    void setTempomat(bool on);
    void setMapAveraging(bool on);
    void setPercentScale(bool on);
    bool setGasMapWithoutEmulation(bool on);
    bool setWorkMachines(bool on);
    void setMinGasTemprCheck(bool on);

private:
    bool connected() const;
    // writeExistingBlock through this page's user interface.
    bool write(EBlock block, const char* failureText);
    bool reset(const char* failureText);
    bool switchToDieselAndWait();
    void failed(const char* text);
    void requestRefresh(ESettingsRefresh what);
    // The fuel mode of the latest stored live sample, 0 without one.
    int latestFuelMode() const;
    // The fuel type and pressure type sequence around a change of m_base.m_advancedFlags.
    bool changeBaseFlagWithReset(const std::function<void()>& change, bool refreshPage);
    // The "Sposób sterowania" and ignition order sequence.
    bool changeTempomatWithReset(const std::function<void()>& change);

    CLPGDevice& m_device;
    IUserInterface& m_ui;
    RefreshRequest m_refresh;
};

} // namespace torva
