#include "diag/diag_sample_values.h"

#include "config/adc_scale.h"
#include "config/conversions.h"
#include "config/device_config.h"
#include "config/device_type.h"
#include "config/rounding.h"
#include "config/temperature_table.h"

#include <algorithm>

namespace torva {

namespace {

constexpr double kCrInjMsPerCount = 0.008;
constexpr double kGasInjMsPerCount = 0.002;
constexpr double kVacuumReference = 101.0;

double absolutePressure(std::uint8_t raw) {
    return (raw / 255.0 + 0.00842) / 0.002421;
}

bool isTimeExt(int index) {
    return index % 4 < 2;
}

} // namespace

double rpmFromSamplePeriod(std::uint16_t period) {
    if (period == 0 || period == 0xFFFF)
        return 0.0;
    return kPeriodClockHz / period;
}

double engineSpeed(const DiagSample& sample, std::uint16_t tempomatFlags) {
    const bool fromAux = (tempomatFlags & kAuxEngineSpeedFlags) != 0;
    return rpmFromSamplePeriod(fromAux ? sample.m_auxRpmPeriod : sample.m_rpmPeriod);
}

bool isGasMode(std::uint8_t fuelMode) {
    return fuelMode == kFuelModeGas;
}

double sampleTemperature(std::uint8_t raw, std::uint8_t sensorType) {
    return temperatureFromCode(raw, sensorType);
}

double supplyVoltage(std::uint8_t raw, std::uint8_t deviceType) {
    return raw * (5.0 / 255.0) * supplyVoltageScale(deviceType);
}

double livePressure(std::uint8_t raw, std::int32_t firmwareVersion) {
    if (firmwareVersion >= kSecondPressureFormulaVersion)
        return absolutePressure(raw);
    return std::max(0.0, ((raw * 5.0 / 255.0) / 5.0 - 0.04) / 0.004);
}

double liveVacuum(std::uint8_t raw, std::int32_t firmwareVersion, std::uint8_t baseAdvancedFlags) {
    if ((baseAdvancedFlags & kAbsoluteVacuumFlag) != 0)
        return absolutePressure(raw);
    return kVacuumReference - livePressure(raw, firmwareVersion);
}

double signalScale(std::uint32_t flags1) {
    return (flags1 & kHighSwitchableScaleFlag) != 0 ? kHighSwitchableAdcScale : kFixedAdcScale;
}

double signalValue(const DiagSample& sample, int index, std::uint16_t tempomatFlags,
                   double scaleK) {
    const std::uint16_t count = sample.m_signal[index];
    if (index < 4)
        return count * kAdcVoltsPerCount * kFixedAdcScale;
    if (index < 6 && (tempomatFlags & kTenthsSignalFlag) != 0)
        return count / 10.0;
    return count * kAdcVoltsPerCount * scaleK;
}

double crInjTimeMs(std::uint16_t count) {
    return round2(count * kCrInjMsPerCount);
}

double gasInjTimeMs(std::uint16_t count) {
    return count * kGasInjMsPerCount;
}

double extValue(const DiagSample& sample, int index) {
    const std::uint16_t count = sample.m_ext[index];
    return isTimeExt(index) ? count * kGasInjMsPerCount : count / 10.0;
}

SLiveValues liveValues(const DiagSample& sample, const CDeviceConfig& config) {
    const std::uint16_t tempomatFlags = config.m_tempomatSetup.m_tempomatFlags;
    const std::int32_t version = config.m_devInfo.m_version;
    const double scaleK = signalScale(config.m_devInfo.m_flags1);

    SLiveValues values;
    values.fuelMode = sample.m_fuelMode;
    values.switchState = sample.m_switchState;
    values.statusFlags = sample.m_statusFlags;
    values.rpm = rpmFromSamplePeriod(sample.m_rpmPeriod);
    values.auxRpm = rpmFromSamplePeriod(sample.m_auxRpmPeriod);
    values.engineSpeed = engineSpeed(sample, tempomatFlags);
    values.gasInjTimeMs = gasInjTimeMs(sample.m_gasInjTime);
    values.pressureKPa = livePressure(sample.m_pressureRaw, version);
    values.vacuumKPa = liveVacuum(sample.m_vacuumRaw, version, config.m_base.m_advancedFlags);
    values.gasTemperature =
        sampleTemperature(sample.m_temprLPGRaw, config.m_sensorsSetup.m_temprLPGSensor);
    values.reducerTemperature =
        sampleTemperature(sample.m_temprEngineRaw, config.m_sensorsSetup.m_temprEngineSensor);
    values.supplyVolts = supplyVoltage(sample.m_vccRaw, config.m_devInfo.m_deviceID);
    for (int i = 0; i < kSignalCount; ++i)
        values.signal[i] = signalValue(sample, i, tempomatFlags, scaleK);
    values.exhaustTemperature = sample.m_exhaustTempr;
    values.crInjTimeMs = crInjTimeMs(sample.m_crInjTime);
    for (int i = 0; i < kExtCount; ++i)
        values.ext[i] = extValue(sample, i);
    return values;
}

} // namespace torva
