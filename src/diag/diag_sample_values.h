#pragma once

#include "link/diag_sample.h"

#include <array>
#include <cstdint>

namespace torva {

class CDeviceConfig;

// Conversions of the live sample's raw values to engineering units. Values are not rounded
// (the pages and the recording file format them) except the common-rail injector time, which
// the controller's tools have always shown rounded to two decimals. Each conversion takes the
// configuration values it depends on; liveValues applies them all with a configuration.

// Engine speed of a period: 15,000,000 / period. 0 and 0xFFFF mean no signal and read 0.
double rpmFromSamplePeriod(std::uint16_t period);

// Tempomat flags bits 0x02 and 0x20: the engine speed comes from the second period.
constexpr std::uint16_t kAuxEngineSpeedFlags = 0x22;
// The engine speed shown as "RPM" (recording file, charts).
double engineSpeed(const DiagSample& sample, std::uint16_t tempomatFlags);

bool isGasMode(std::uint8_t fuelMode);

// Whole degrees Celsius of a temperature code for the configured sensor type.
double sampleTemperature(std::uint8_t raw, std::uint8_t sensorType);
// Volts: raw * 5 / 255 * 11 on the 24-volt device types, * 6 on the others.
double supplyVoltage(std::uint8_t raw, std::uint8_t deviceType);

// Reducer pressure, kPa. From firmware 271 the sensor reads absolute; older firmware reads
// relative and floors at 0.
double livePressure(std::uint8_t raw, std::int32_t firmwareVersion);
// m_base.m_advancedFlags bit 0x10: the vacuum sensor reads absolute pressure.
constexpr std::uint8_t kAbsoluteVacuumFlag = 0x10;
// Reducer vacuum, kPa: absolute (never floored) with the flag, else 101 - the pressure
// conversion of the same byte.
double liveVacuum(std::uint8_t raw, std::int32_t firmwareVersion, std::uint8_t baseAdvancedFlags);

// Signals 5 and 6 carry a value in tenths instead of a voltage when the tempomat flags have
// bit 0x08.
constexpr std::uint16_t kTenthsSignalFlag = 0x08;
constexpr int kSignalCount = 8;
// The scale K of signals 5-8: 8.5 when flag word 1 has bit 3, else 4.636. Signals 1-4 always
// use 4.636.
double signalScale(std::uint32_t flags1);
// Signal index 0-7 (signal 1-8) in volts, or in tenths as said above.
double signalValue(const DiagSample& sample, int index, std::uint16_t tempomatFlags, double scaleK);

// Common-rail injector ON time, ms: count * 0.008 rounded half up to two decimals.
double crInjTimeMs(std::uint16_t count);
// Gas injection time, ms: count * 0.002.
double gasInjTimeMs(std::uint16_t count);
constexpr int kExtCount = 8;
// Extension value index 0-7: ms (count * 0.002) for 0, 1, 4, 5; tenths (count / 10) for the
// digital TPS values 2, 3, 6, 7.
double extValue(const DiagSample& sample, int index);

// Every converted value of one sample with the configuration in force.
struct SLiveValues {
    int fuelMode = 0;
    int switchState = 0;
    double statusFlags = 0;
    double rpm = 0;         // from m_rpmPeriod
    double auxRpm = 0;      // from m_auxRpmPeriod
    double engineSpeed = 0; // the one shown as "RPM"
    double gasInjTimeMs = 0;
    double pressureKPa = 0;
    double vacuumKPa = 0;
    double gasTemperature = 0;
    double reducerTemperature = 0;
    double supplyVolts = 0;
    std::array<double, kSignalCount> signal{};
    double exhaustTemperature = 0;
    double crInjTimeMs = 0;
    std::array<double, kExtCount> ext{};
};

SLiveValues liveValues(const DiagSample& sample, const CDeviceConfig& config);

} // namespace torva
