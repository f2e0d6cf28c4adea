#include "ui/pages/settings/settings_combos.h"

#include "config/device_config.h"

namespace torva {

namespace {

constexpr std::uint8_t kPressureSensorFlag = 0x10; // m_base.m_advancedFlags
constexpr std::uint8_t kFiveVoltRpmFlag = 0x20;    // m_base.m_advancedFlags

int bitValue(unsigned flags, unsigned mask) {
    return (flags & mask) != 0 ? 1 : 0;
}

} // namespace

ComboOptions comboOptions(ESettingsCombo combo, const CDeviceConfig& config) {
    switch (combo) {
    case ESettingsCombo::FuelType:
        return fuelTypeOptions();
    case ESettingsCombo::RpmSignalType:
        return rpmSignalTypeOptions();
    case ESettingsCombo::TpsType:
        return tpsTypeOptions();
    case ESettingsCombo::PressureSensor:
        return pressureSensorOptions();
    case ESettingsCombo::ReducerSensor:
    case ESettingsCombo::GasSensor:
        return temperatureSensorOptions();
    case ESettingsCombo::MapSensorEmulator:
    case ESettingsCombo::MafEmulator:
    case ESettingsCombo::Tps1Emulator:
    case ESettingsCombo::Tps2Emulator:
    case ESettingsCombo::DigitalTpsEmulator:
        return emulatorOptions();
    case ESettingsCombo::InjectionControl:
        return injectionControlOptions();
    case ESettingsCombo::IgnitionOrder:
        return ignitionOrderOptions();
    case ESettingsCombo::InjectorType:
        return injectorTypeOptions();
    case ESettingsCombo::MountedInjectors:
        return mountedInjectorOptions(config.m_devInfo.m_deviceID, config.m_devInfo.m_injCount);
    }
    return {};
}

int comboValue(ESettingsCombo combo, const CDeviceConfig& config) {
    const SBaseSetup& base = config.m_base;
    switch (combo) {
    case ESettingsCombo::FuelType:
        return config.isCng() ? 1 : 0;
    case ESettingsCombo::RpmSignalType:
        return bitValue(base.m_advancedFlags, kFiveVoltRpmFlag);
    case ESettingsCombo::TpsType:
        return static_cast<int>(tpsType(config));
    case ESettingsCombo::PressureSensor:
        return bitValue(base.m_advancedFlags, kPressureSensorFlag);
    case ESettingsCombo::ReducerSensor:
        return config.m_sensorsSetup.m_temprEngineSensor;
    case ESettingsCombo::GasSensor:
        return config.m_sensorsSetup.m_temprLPGSensor;
    case ESettingsCombo::MapSensorEmulator:
        return base.m_emuEnable[0];
    case ESettingsCombo::MafEmulator:
        return base.m_emuEnable[1];
    case ESettingsCombo::Tps1Emulator:
        return base.m_emuEnable[2];
    case ESettingsCombo::Tps2Emulator:
        return base.m_emuEnable[3];
    case ESettingsCombo::DigitalTpsEmulator:
        return config.m_serviceSetup.m_tpsDigitEmuEnable;
    case ESettingsCombo::InjectionControl:
        return injectionControlValue(config.m_tempomatSetup.m_tempomatFlags);
    case ESettingsCombo::IgnitionOrder:
        return config.m_tempomatSetup.m_ignitionOrder;
    case ESettingsCombo::InjectorType:
        return config.m_adv.m_injectorType;
    case ESettingsCombo::MountedInjectors:
        return config.m_adv.m_injMounted;
    }
    return 0;
}

EBlock comboBlock(ESettingsCombo combo) {
    switch (combo) {
    case ESettingsCombo::TpsType:
    case ESettingsCombo::DigitalTpsEmulator:
        return EBlock::Service;
    case ESettingsCombo::ReducerSensor:
    case ESettingsCombo::GasSensor:
        return EBlock::Sensors;
    case ESettingsCombo::InjectionControl:
    case ESettingsCombo::IgnitionOrder:
        return EBlock::Tempomat;
    case ESettingsCombo::InjectorType:
    case ESettingsCombo::MountedInjectors:
        return EBlock::Advanced;
    case ESettingsCombo::FuelType:
    case ESettingsCombo::RpmSignalType:
    case ESettingsCombo::PressureSensor:
    case ESettingsCombo::MapSensorEmulator:
    case ESettingsCombo::MafEmulator:
    case ESettingsCombo::Tps1Emulator:
    case ESettingsCombo::Tps2Emulator:
        break;
    }
    return EBlock::Base;
}

} // namespace torva
