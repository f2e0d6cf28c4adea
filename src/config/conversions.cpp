#include "config/conversions.h"

#include "config/adc_scale.h"
#include "config/device_type.h"
#include "config/rounding.h"

#include <algorithm>

namespace torva {

namespace {

bool usesSecondPressureFormula(std::int32_t firmwareVersion) {
    return firmwareVersion >= kSecondPressureFormulaVersion;
}

} // namespace

double pressureFromCode(std::uint8_t code, std::int32_t firmwareVersion) {
    if (usesSecondPressureFormula(firmwareVersion)) {
        return round0((code / 255.0 + 0.00842) / 0.002421);
    }
    return round0(std::max(0.0, (code / 51.0 / 5.0 - 0.04) / 0.004));
}

std::uint8_t codeFromPressure(double kPa, std::int32_t firmwareVersion) {
    if (usesSecondPressureFormula(firmwareVersion)) {
        return toByte(round0((kPa * 0.002421 - 0.00842) * 255.0));
    }
    return toByte(round0(5.0 * (0.04 + kPa * 0.004) * 51.0));
}

double supplyVoltageScale(std::uint8_t deviceType) {
    return isTwentyFourVoltDevice(deviceType) ? 11.0 : 6.0;
}

double supplyVoltageFromCode(std::uint8_t code, std::uint8_t deviceType) {
    return round1(code / 51.0 * supplyVoltageScale(deviceType));
}

std::uint8_t codeFromSupplyVoltage(double volts, std::uint8_t deviceType) {
    return toByte(round0(volts * 51.0 / supplyVoltageScale(deviceType)));
}

double rpmFromPeriod(std::uint16_t period, double zeroPeriodRpm) {
    return period == 0 ? zeroPeriodRpm : round0(kPeriodClockHz / period);
}

double switchRpmFromPeriod(std::uint16_t period) {
    return period == 0 ? kSwitchRpmForZeroPeriod : round0(kPeriodClockHz / period / 100.0) * 100.0;
}

std::uint16_t periodFromRpm(double rpm) {
    if (!(rpm > 0.0)) {
        noteClampedStore(); // no period stands for this speed
        return 0xFFFF;
    }
    const double period = round0(kPeriodClockHz / rpm);
    // Period 0 means "no speed" to the controller, which reads it as a substitute.
    if (period < 1.0)
        noteClampedStore();
    return toWord(period);
}

double adcVolts(std::uint16_t count, double scale) {
    return round2(count * kAdcVoltsPerCount * scale);
}

std::uint16_t adcCount(double volts, double scale) {
    return toWord(round0(volts / (kAdcVoltsPerCount * scale)));
}

double emuOffsetFromCount(std::uint16_t count) {
    return round3((count - static_cast<double>(kEmuOffsetZeroCount)) * kAdcVoltsPerCount *
                  kFixedAdcScale);
}

std::uint16_t countFromEmuOffset(double volts) {
    return toWord(round0(volts / (kAdcVoltsPerCount * kFixedAdcScale) + kEmuOffsetZeroCount));
}

std::uint8_t fuelThresholdOnWire(std::uint8_t threshold, std::uint8_t fuelType) {
    return fuelType == 1 ? static_cast<std::uint8_t>(threshold ^ 0xFF) : threshold;
}

} // namespace torva
