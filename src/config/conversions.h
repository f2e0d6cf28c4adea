#pragma once

#include <cstdint>

namespace torva {

// Raw controller values <-> display units. Reads give display values already rounded as the
// controller's fields are shown; writes give the whole raw value, clamped to the field's width.

// Pressure code (one byte) <-> kPa. Firmware from 0x10F uses the second sensor formula.
double pressureFromCode(std::uint8_t code, std::int32_t firmwareVersion);
std::uint8_t codeFromPressure(double kPa, std::int32_t firmwareVersion);

// Supply voltage limit: scale 11 on the 24-volt device types (25, 37), 6 on the others.
double supplyVoltageScale(std::uint8_t deviceType);
double supplyVoltageFromCode(std::uint8_t code, std::uint8_t deviceType);
std::uint8_t codeFromSupplyVoltage(double volts, std::uint8_t deviceType);

// Engine speed as a period count P against the controller's 15 MHz time base.
constexpr double kPeriodClockHz = 15000000.0;
// A zero period has no speed. The detection speed and the speed limit read it as these
// substitutes; the switch speed, for which the controller defines none, reads it as its factory
// value.
constexpr double kRpmDetectForZeroPeriod = 1000.0;
constexpr double kMaxRpmForZeroPeriod = 5000.0;
constexpr double kSwitchRpmForZeroPeriod = 1200.0;

// Whole rpm: round(15000000 / P), or the substitute for P = 0.
double rpmFromPeriod(std::uint16_t period, double zeroPeriodRpm);
// The switch speed in whole hundreds: round(15000000 / P / 100) * 100.
double switchRpmFromPeriod(std::uint16_t period);
// P = round(15000000 / rpm). A speed of zero or below has no finite period and gets the longest
// one the field holds, 65535, like any speed too slow for the field. A speed so high that P
// rounds to 0 (the controller's "no speed") counts as clamped (rounding.h).
std::uint16_t periodFromRpm(double rpm);

// ADC count <-> volts: v = round2(count * 0.003226 * scale).
double adcVolts(std::uint16_t count, double scale);
std::uint16_t adcCount(double volts, double scale);

// The four emulator offsets: signed volts around count 512, fixed scale, three decimals.
constexpr std::uint16_t kEmuOffsetZeroCount = 512;
double emuOffsetFromCount(std::uint16_t count);
std::uint16_t countFromEmuOffset(double volts);

// The four fuel level thresholds travel bit-inverted when m_fuelType is 1 so that on the wire
// they always fall from full to quarter. The same call converts both ways.
std::uint8_t fuelThresholdOnWire(std::uint8_t threshold, std::uint8_t fuelType);

} // namespace torva
