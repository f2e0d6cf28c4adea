#include "ui/pages/settings/settings_changes.h"

#include "config/device_config.h"
#include "config/rounding.h"
#include "ui/pages/settings/injector_presets.h"

namespace torva {

namespace {

// m_base.m_advancedFlags
constexpr std::uint8_t kPressureSensorFlag = 0x10;
constexpr std::uint8_t kFiveVoltRpmFlag = 0x20;
// m_base.m_flags
constexpr std::uint8_t kNoMapAveragingFlag = 0x01;
constexpr std::uint8_t kPercentScaleFlag = 0x02;
constexpr std::uint8_t kTpsDoubleFlag = 0x10;
// m_serviceSetup.m_advancedFlags2
constexpr std::uint8_t kMinGasTemprFlag = 0x02;
constexpr std::uint8_t kDigitalTpsFlag = 0x10;
constexpr std::uint8_t kWorkMachinesFlag = 0x80;
// m_tempomatSetup.m_tempomatFlags
constexpr std::uint16_t kTempomatFlag = 0x01;
constexpr std::uint16_t kGasMapWithoutEmulationFlag = 0x40;

constexpr int kMafEmulator = 1;
constexpr int kTps1Emulator = 2;
constexpr int kTps2Emulator = 3;

template <typename Flags, typename Mask> void setBit(Flags& flags, Mask mask, bool on) {
    flags = static_cast<Flags>(on ? (flags | mask) : (flags & ~mask));
}

// Channel-3 load axis for the external TPS (tenths, whole) and the analog one (volts).
LoadAxis externalTpsAxis() {
    LoadAxis axis{};
    for (int i = 0; i < kMapRows - 1; ++i)
        axis[i] = round0(i * 6.25);
    axis[kMapRows - 1] = 100;
    return axis;
}

LoadAxis analogTpsAxis() {
    LoadAxis axis{};
    for (int i = 0; i < kMapRows - 1; ++i)
        axis[i] = round2(i * 5.0 / 16);
    axis[kMapRows - 1] = 5.0;
    return axis;
}

} // namespace

void applyFuelType(CDeviceConfig& config, int value) {
    setBit(config.m_base.m_advancedFlags, kCngInstallationFlag, value == 1);
}

void applyPressureType(CDeviceConfig& config, int value) {
    setBit(config.m_base.m_advancedFlags, kPressureSensorFlag, value == 1);
}

void applyRpmSignalType(CDeviceConfig& config, int value) {
    setBit(config.m_base.m_advancedFlags, kFiveVoltRpmFlag, value == 1);
}

void applyInjectorType(CDeviceConfig& config, std::uint8_t type) {
    // The 24-volt controllers' preset already keeps within their limits (25, 2.0, 1.0).
    const SInjectorPreset preset = injectorPreset(type, config.m_devInfo.m_deviceID);
    SAdvancedSetup& adv = config.m_adv;
    adv.m_injectorType = type;
    adv.m_pwm = preset.pwm;
    adv.m_pwmOffset = preset.pwmOffset;
    adv.m_injectorWarmingImpulse = preset.warmingImpulse;
}

void applyMountedInjectors(CDeviceConfig& config, std::uint8_t count) {
    config.m_adv.m_injMounted = count;
}

void applyGasTemperatureSensor(CDeviceConfig& config, std::uint8_t sensorType) {
    config.m_sensorsSetup.m_temprLPGSensor = sensorType;
}

void applyReducerTemperatureSensor(CDeviceConfig& config, std::uint8_t sensorType) {
    config.m_sensorsSetup.m_temprEngineSensor = sensorType;
}

void applyEmulator(CDeviceConfig& config, int channel, std::uint8_t enabled) {
    config.m_base.m_emuEnable.at(static_cast<std::size_t>(channel)) = enabled;
}

void applyDigitalTpsEmulator(CDeviceConfig& config, std::uint8_t enabled) {
    config.m_serviceSetup.m_tpsDigitEmuEnable = enabled;
}

void applyTpsType(CDeviceConfig& config, ETpsType type) {
    SServiceSetup& service = config.m_serviceSetup;
    STempomatSetup& tempomat = config.m_tempomatSetup;
    const bool wasRaw = config.tpsValuesAreRawCounts();
    setBit(service.m_advancedFlags2, kDigitalTpsFlag, type == ETpsType::Digital);
    setBit(tempomat.m_tempomatFlags, kTempomatRawTpsFlag, type == ETpsType::External);
    tempomat.m_tpsAnalogDetect = STempomatSetup{}.m_tpsAnalogDetect;
    switch (type) {
    case ETpsType::Digital:
        tempomat.m_tpsDigitCutOff = 0;
        // The analog cut-off stays for a later return to the analog type, unless it was held
        // in raw counts, which now read as volts.
        if (wasRaw)
            service.m_tpsCutOff = 0;
        break;
    case ETpsType::External:
        service.m_tpsCutOff = 0;
        config.m_mapCoordinatesEmu3 = externalTpsAxis();
        break;
    case ETpsType::Analog:
        service.m_tpsCutOff = 0;
        config.m_mapCoordinatesEmu3 = analogTpsAxis();
        break;
    }
}

void applyInjectionControl(CDeviceConfig& config, int value) {
    config.m_tempomatSetup.m_tempomatFlags =
        withInjectionControl(config.m_tempomatSetup.m_tempomatFlags, value);
}

void applyIgnitionOrder(CDeviceConfig& config, std::uint8_t order) {
    config.m_tempomatSetup.m_ignitionOrder = order;
}

void applyTpsDouble(CDeviceConfig& config, bool on) {
    setBit(config.m_base.m_flags, kTpsDoubleFlag, on);
    if (on)
        config.m_base.m_emuEnable[kTps2Emulator] = config.m_base.m_emuEnable[kTps1Emulator];
}

void applyTempomat(CDeviceConfig& config, bool on, bool turnOffMaf) {
    setBit(config.m_tempomatSetup.m_tempomatFlags, kTempomatFlag, on);
    if (on && turnOffMaf)
        config.m_base.m_emuEnable[kMafEmulator] = 0;
}

void applyMapAveraging(CDeviceConfig& config, bool on) {
    setBit(config.m_base.m_flags, kNoMapAveragingFlag, !on);
}

void applyPercentScale(CDeviceConfig& config, bool on) {
    setBit(config.m_base.m_flags, kPercentScaleFlag, on);
}

void applyGasMapWithoutEmulation(CDeviceConfig& config, bool on) {
    setBit(config.m_tempomatSetup.m_tempomatFlags, kGasMapWithoutEmulationFlag, on);
}

void applyWorkMachines(CDeviceConfig& config, bool on) {
    setBit(config.m_serviceSetup.m_advancedFlags2, kWorkMachinesFlag, on);
}

void applyMinGasTemprCheck(CDeviceConfig& config, bool on) {
    setBit(config.m_serviceSetup.m_advancedFlags2, kMinGasTemprFlag, on);
}

bool tpsDoubleOn(const CDeviceConfig& config) {
    return (config.m_base.m_flags & kTpsDoubleFlag) != 0;
}

bool tempomatOn(const CDeviceConfig& config) {
    return (config.m_tempomatSetup.m_tempomatFlags & kTempomatFlag) != 0;
}

bool mapAveragingOn(const CDeviceConfig& config) {
    return (config.m_base.m_flags & kNoMapAveragingFlag) == 0;
}

bool percentScaleOn(const CDeviceConfig& config) {
    return (config.m_base.m_flags & kPercentScaleFlag) != 0;
}

bool gasMapWithoutEmulationOn(const CDeviceConfig& config) {
    return (config.m_tempomatSetup.m_tempomatFlags & kGasMapWithoutEmulationFlag) != 0;
}

bool workMachinesOn(const CDeviceConfig& config) {
    return (config.m_serviceSetup.m_advancedFlags2 & kWorkMachinesFlag) != 0;
}

bool minGasTemprCheckOn(const CDeviceConfig& config) {
    return (config.m_serviceSetup.m_advancedFlags2 & kMinGasTemprFlag) != 0;
}

bool checkOn(ESettingsCheck check, const CDeviceConfig& config) {
    switch (check) {
    case ESettingsCheck::WorkMachines:
        return workMachinesOn(config);
    case ESettingsCheck::TpsDouble:
        return tpsDoubleOn(config);
    case ESettingsCheck::Tempomat:
        return tempomatOn(config);
    case ESettingsCheck::MapAveraging:
        return mapAveragingOn(config);
    case ESettingsCheck::PercentScale:
        return percentScaleOn(config);
    case ESettingsCheck::GasMapWithoutEmulation:
        return gasMapWithoutEmulationOn(config);
    case ESettingsCheck::MinGasTemprCheck:
        return minGasTemprCheckOn(config);
    }
    return false;
}

EBlock checkBlock(ESettingsCheck check) {
    switch (check) {
    case ESettingsCheck::WorkMachines:
    case ESettingsCheck::MinGasTemprCheck:
        return EBlock::Service;
    case ESettingsCheck::Tempomat:
    case ESettingsCheck::GasMapWithoutEmulation:
        return EBlock::Tempomat;
    case ESettingsCheck::TpsDouble:
    case ESettingsCheck::MapAveraging:
    case ESettingsCheck::PercentScale:
        break;
    }
    return EBlock::Base;
}

} // namespace torva
