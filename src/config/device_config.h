#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace torva {

// A map: 16 load points (rows) x 15 RPM points (columns), element [r][c] at r * 15 + c on the
// wire. Values are in display units (ms for time maps, the emulation value without the wire's
// offset of 100 for emulation maps).
constexpr int kMapRows = 16;
constexpr int kMapColumns = 15;
using MapValues = std::array<std::array<double, kMapColumns>, kMapRows>;
using LoadAxis = std::array<double, kMapRows>;
using RpmAxis = std::array<double, kMapColumns>;
constexpr int kEmulatorChannels = 4;

struct SStatistic {
    std::uint32_t gas = 0;   // first running-time counter, half-seconds
    std::uint32_t lpg = 0;   // second running-time counter, half-seconds
    std::uint16_t extra = 0; // the third value of the statistics record, kept as it came

    bool operator==(const SStatistic&) const = default;
};

// Identity and statistics; read at identification, never written back.
struct SDevInfo {
    std::string m_modelName;
    std::int32_t m_version = 0; // high byte major, low byte minor
    std::int32_t m_injCount = 0;
    std::string m_serial;
    std::string m_prodDate; // "%d/%m/%Y"
    std::uint8_t m_deviceID = 0;
    std::uint32_t m_flags1 = 0; // bit 3 selects the switchable ADC scale 8.5
    std::uint32_t m_flags2 = 0;
    SStatistic m_statistic;

    bool operator==(const SDevInfo&) const = default;
};

// Base block.
struct SBaseSetup {
    double m_switchRPM = 1200;
    double m_switchTempr = 35;
    std::uint8_t m_torvaDivider = 1;
    double m_switchDelay = 30;
    double m_switchPressure = 60;
    double m_pressureGain = 1.0;
    double m_pressureRef = 120;
    double m_pressAverageCount = 0.8;
    double m_temprRef = 0;
    double m_temprGain = 0.3;
    double m_temprBottom = 0;
    double m_temprUpper = 80;
    double m_minVCC = 10; // type-dependent, see CDeviceConfig::setDefaults
    double m_maxExhaustTemp = 600;
    std::uint8_t m_flags = 0x00;
    std::uint8_t m_advancedFlags = 0x10;
    std::array<std::uint8_t, kEmulatorChannels> m_emuEnable{};

    bool operator==(const SBaseSetup&) const = default;
};

// Advanced (injector) block.
struct SAdvancedSetup {
    double m_pwmOffset = 2.0; // type-dependent
    double m_pwm = 25;
    double m_injectorWarmingImpulse = 1.0; // type-dependent
    double m_warmingTime = 30;
    double m_warmingUpperTempr = 50;
    std::uint8_t m_injectorType = 14;
    std::uint8_t m_injMounted = 6; // type-dependent
    std::uint8_t m_flags = 0;

    bool operator==(const SAdvancedSetup&) const = default;
};

// Sensors block: fuel level thresholds and temperature sensor types.
struct SSensorsSetup {
    std::uint8_t m_fuelFull = 60;
    std::uint8_t m_fuelHgw = 35;
    std::uint8_t m_fuelHalf = 15;
    std::uint8_t m_fuelQuarter = 8;
    std::uint8_t m_fuelRes = 0;
    std::uint8_t m_fuelType = 0; // 1: thresholds rise from full to quarter
    std::uint8_t m_temprEngineSensor = 0;
    std::uint8_t m_temprLPGSensor = 0;

    bool operator==(const SSensorsSetup&) const = default;
};

// Service block (firmware from 0x102).
struct SServiceSetup {
    std::uint32_t m_serviceInterval = 0;
    std::uint8_t m_advancedFlags2 = 0;
    double m_tpsCutOff = 0; // volts, or raw counts with tempomat flag bit 3
    std::array<double, kEmulatorChannels> m_emuOffset{};
    double m_knockMaxSignal = 0;
    double m_tpsJump = 0; // not in the block; settings file only
    double m_tpsEmLimitDelay = 25;
    std::uint8_t m_tpsEmLimitFlag = 0;
    double m_maxRpm = 5000;
    double m_rpmTh = 2.0;
    std::uint8_t m_tpsDigitEmuEnable = 0;
    double m_mapCutOff = 0;
    double m_crInjCutOffTime = 0;
    std::uint8_t m_knockFreq = 44;
    std::uint8_t m_knockIntTime = 10;
    std::uint8_t m_knockGain = 55;

    bool operator==(const SServiceSetup&) const = default;
};

// Tempomat (detection) block (firmware from 0x10A).
struct STempomatSetup {
    double m_rpmDetect = 1000;
    double m_turboDetect = 1.0;
    double m_tpsAnalogDetect = 0; // volts, or raw counts with flag bit 3
    double m_tpsDigitalDetect = 0;
    double m_detectTime = 1.0;
    std::uint16_t m_tempomatFlags = 0;
    double m_tpsDigitCutOff = 0;
    double m_camshaftTh = 1.0;
    double m_injDelayAngle = 0;
    std::uint8_t m_ignitionOrder = 6;
    double m_vCppLitersToTank = 30;
    std::uint16_t m_extExhaustTemprMask = 0;
    double m_minGasTempr = 0;

    bool operator==(const STempomatSetup&) const = default;
};

// Bit 3 of m_tempomatFlags: the TPS-type values (m_tpsCutOff, m_tpsAnalogDetect, the channel-3
// load axis) are held as raw ADC counts instead of volts.
constexpr std::uint16_t kTempomatRawTpsFlag = 0x08;
// Bit 6 of m_base.m_advancedFlags: the installation runs on CNG.
constexpr std::uint8_t kCngInstallationFlag = 0x40;

// The controller's configuration in display units. Member order is record order (and the
// settings file's order).
class CDeviceConfig {
public:
    // Builds the factory defaults. deviceType is the connected controller's type; nullopt means
    // no controller is known yet. The default load axes of channels 3 and 4 use the switchable
    // ADC scale in force at the time.
    explicit CDeviceConfig(std::optional<std::uint8_t> deviceType = std::nullopt);
    void setDefaults(std::optional<std::uint8_t> deviceType = std::nullopt);

    bool operator==(const CDeviceConfig&) const = default;

    std::string m_timeStamp;
    SDevInfo m_devInfo;
    SBaseSetup m_base;
    SAdvancedSetup m_adv;
    SSensorsSetup m_sensorsSetup;
    SServiceSetup m_serviceSetup;
    STempomatSetup m_tempomatSetup;

    MapValues m_mapTimeEmu1{};
    MapValues m_mapEmu1{};
    LoadAxis m_mapCoordinatesEmu1{};
    RpmAxis m_mapRpmCoordinatesEmu1{};
    MapValues m_mapTimeEmu2{};
    MapValues m_mapEmu2{};
    LoadAxis m_mapCoordinatesEmu2{};
    MapValues m_mapTimeEmu3{};
    MapValues m_mapEmu3{};
    LoadAxis m_mapCoordinatesEmu3{};
    MapValues m_mapTimeEmu4{};
    MapValues m_mapEmu4{};
    LoadAxis m_mapCoordinatesEmu4{};
    MapValues m_mapTimeEmuTpsD{};
    MapValues m_mapEmuTpsD{};
    LoadAxis m_mapCoordinatesEmuTpsD{};

    bool tpsValuesAreRawCounts() const {
        return (m_tempomatSetup.m_tempomatFlags & kTempomatRawTpsFlag) != 0;
    }
    bool isCng() const { return (m_base.m_advancedFlags & kCngInstallationFlag) != 0; }
};

} // namespace torva
