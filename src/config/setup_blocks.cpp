#include "config/setup_blocks.h"

#include "config/adc_scale.h"
#include "config/block_image.h"
#include "config/conversions.h"
#include "config/rounding.h"
#include "config/temperature_table.h"

namespace torva::setup_blocks {

using namespace block_image;

namespace {

constexpr double kPwmStep = 0.002;       // pwm offset and warming impulse per count
constexpr double kInjCutOffStep = 0.008; // ms per count
constexpr double kKnockVoltsPerCount = 2.5 / 768.0;

std::uint8_t engineSensor(const CDeviceConfig& config) {
    return config.m_sensorsSetup.m_temprEngineSensor;
}
std::uint8_t gasSensor(const CDeviceConfig& config) {
    return config.m_sensorsSetup.m_temprLPGSensor;
}

// TPS-type values are volts on the switchable scale unless the tempomat flag makes them counts.
double tpsValueFromCount(std::uint16_t count, bool rawCounts) {
    return rawCounts ? count : adcVolts(count, switchableScale());
}
std::uint16_t countFromTpsValue(double value, bool rawCounts) {
    return rawCounts ? toWord(round0(value)) : adcCount(value, switchableScale());
}

std::uint8_t roundedByte(double value) {
    return toByte(round0(value));
}
std::uint8_t truncatedByte(double value) {
    return toByte(truncateTowardZero(value));
}

} // namespace

void decodeBase(const std::uint8_t* image, CDeviceConfig& config) {
    const std::int32_t version = config.m_devInfo.m_version;
    SBaseSetup& base = config.m_base;
    base.m_switchRPM = switchRpmFromPeriod(wordAt(image, 0));
    base.m_torvaDivider = byteAt(image, 2);
    base.m_switchPressure = pressureFromCode(byteAt(image, 3), version);
    base.m_switchTempr = temperatureFromCode(byteAt(image, 4), engineSensor(config));
    base.m_switchDelay = byteAt(image, 5) >> 1;
    base.m_flags = byteAt(image, 6);
    base.m_pressureRef = pressureFromCode(byteAt(image, 7), version);
    base.m_pressureGain = byteAt(image, 8) / 10.0;
    base.m_pressAverageCount = round1(byteAt(image, 9) / 5.0);
    base.m_temprRef = temperatureFromCode(byteAt(image, 10), gasSensor(config));
    base.m_temprGain = byteAt(image, 11) / 10.0;
    base.m_temprBottom = temperatureFromCode(byteAt(image, 12), gasSensor(config));
    base.m_temprUpper = temperatureFromCode(byteAt(image, 13), gasSensor(config));
    base.m_maxExhaustTemp = wordAt(image, 14);
    base.m_minVCC = supplyVoltageFromCode(byteAt(image, 16), config.m_devInfo.m_deviceID);
    base.m_advancedFlags = byteAt(image, 17);
    for (int channel = 0; channel < kEmulatorChannels; ++channel) {
        base.m_emuEnable[channel] = byteAt(image, 18 + channel);
    }
}

void encodeBase(const CDeviceConfig& config, std::uint8_t* image) {
    const std::int32_t version = config.m_devInfo.m_version;
    const SBaseSetup& base = config.m_base;
    putWord(image, 0, periodFromRpm(base.m_switchRPM));
    putByte(image, 2, base.m_torvaDivider);
    putByte(image, 3, codeFromPressure(base.m_switchPressure, version));
    putByte(image, 4, codeFromTemperature(base.m_switchTempr, engineSensor(config)));
    putByte(image, 5, truncatedByte(base.m_switchDelay * 2));
    putByte(image, 6, base.m_flags);
    putByte(image, 7, codeFromPressure(base.m_pressureRef, version));
    putByte(image, 8, truncatedByte(base.m_pressureGain * 10));
    putByte(image, 9, roundedByte(base.m_pressAverageCount * 5));
    putByte(image, 10, codeFromTemperature(base.m_temprRef, gasSensor(config)));
    putByte(image, 11, roundedByte(base.m_temprGain * 10));
    putByte(image, 12, codeFromTemperature(base.m_temprBottom, gasSensor(config)));
    putByte(image, 13, codeFromTemperature(base.m_temprUpper, gasSensor(config)));
    putWord(image, 14, toWord(truncateTowardZero(base.m_maxExhaustTemp)));
    putByte(image, 16, codeFromSupplyVoltage(base.m_minVCC, config.m_devInfo.m_deviceID));
    putByte(image, 17, base.m_advancedFlags);
    for (int channel = 0; channel < kEmulatorChannels; ++channel) {
        putByte(image, 18 + channel, base.m_emuEnable[channel]);
    }
}

void decodeAdvanced(const std::uint8_t* image, CDeviceConfig& config) {
    SAdvancedSetup& adv = config.m_adv;
    adv.m_injectorType = byteAt(image, 0);
    adv.m_pwm = byteAt(image, 1);
    adv.m_pwmOffset = round1(wordAt(image, 2) * kPwmStep);
    adv.m_injectorWarmingImpulse = round1(wordAt(image, 4) * kPwmStep);
    adv.m_warmingTime = byteAt(image, 6) >> 1;
    adv.m_warmingUpperTempr = temperatureFromCode(byteAt(image, 7), engineSensor(config));
    adv.m_flags = byteAt(image, 8);
    adv.m_injMounted = byteAt(image, 9);
}

void encodeAdvanced(const CDeviceConfig& config, std::uint8_t* image) {
    const SAdvancedSetup& adv = config.m_adv;
    putByte(image, 0, adv.m_injectorType);
    putByte(image, 1, roundedByte(adv.m_pwm));
    putWord(image, 2, toWord(round0(adv.m_pwmOffset / kPwmStep)));
    putWord(image, 4, toWord(round0(adv.m_injectorWarmingImpulse / kPwmStep)));
    putByte(image, 6, roundedByte(adv.m_warmingTime * 2));
    putByte(image, 7, codeFromTemperature(adv.m_warmingUpperTempr, engineSensor(config)));
    putByte(image, 8, adv.m_flags);
    putByte(image, 9, adv.m_injMounted);
}

void decodeSensors(const std::uint8_t* image, CDeviceConfig& config) {
    SSensorsSetup& sensors = config.m_sensorsSetup;
    // The direction flag travels after the thresholds but decides how they are read.
    sensors.m_fuelType = byteAt(image, 4);
    sensors.m_fuelFull = fuelThresholdOnWire(byteAt(image, 0), sensors.m_fuelType);
    sensors.m_fuelHgw = fuelThresholdOnWire(byteAt(image, 1), sensors.m_fuelType);
    sensors.m_fuelHalf = fuelThresholdOnWire(byteAt(image, 2), sensors.m_fuelType);
    sensors.m_fuelQuarter = fuelThresholdOnWire(byteAt(image, 3), sensors.m_fuelType);
    sensors.m_fuelRes = byteAt(image, 5);
    sensors.m_temprEngineSensor = byteAt(image, 6);
    sensors.m_temprLPGSensor = byteAt(image, 7);
}

void encodeSensors(const CDeviceConfig& config, std::uint8_t* image) {
    const SSensorsSetup& sensors = config.m_sensorsSetup;
    putByte(image, 0, fuelThresholdOnWire(sensors.m_fuelFull, sensors.m_fuelType));
    putByte(image, 1, fuelThresholdOnWire(sensors.m_fuelHgw, sensors.m_fuelType));
    putByte(image, 2, fuelThresholdOnWire(sensors.m_fuelHalf, sensors.m_fuelType));
    putByte(image, 3, fuelThresholdOnWire(sensors.m_fuelQuarter, sensors.m_fuelType));
    putByte(image, 4, sensors.m_fuelType);
    putByte(image, 5, sensors.m_fuelRes);
    putByte(image, 6, sensors.m_temprEngineSensor);
    putByte(image, 7, sensors.m_temprLPGSensor);
}

void decodeService(const std::uint8_t* image, CDeviceConfig& config) {
    const bool rawCounts = config.tpsValuesAreRawCounts();
    SServiceSetup& service = config.m_serviceSetup;
    service.m_serviceInterval = dwordAt(image, 0);
    service.m_tpsCutOff = tpsValueFromCount(wordAt(image, 4), rawCounts);
    service.m_crInjCutOffTime = round2(wordAt(image, 6) * kInjCutOffStep);
    service.m_knockFreq = byteAt(image, 8);
    service.m_knockIntTime = byteAt(image, 9);
    service.m_tpsDigitEmuEnable = byteAt(image, 10);
    service.m_knockGain = byteAt(image, 11);
    for (int channel = 0; channel < kEmulatorChannels; ++channel) {
        service.m_emuOffset[channel] = emuOffsetFromCount(wordAt(image, 12 + 2 * channel));
    }
    service.m_knockMaxSignal = wordAt(image, 20) * kKnockVoltsPerCount;
    service.m_tpsEmLimitFlag = byteAt(image, 22);
    service.m_tpsEmLimitDelay = byteAt(image, 23) * 25.0;
    service.m_maxRpm = rpmFromPeriod(wordAt(image, 24), kMaxRpmForZeroPeriod);
    service.m_mapCutOff = adcVolts(wordAt(image, 26), switchableScale());
    service.m_advancedFlags2 = byteAt(image, 28);
    service.m_rpmTh = byteAt(image, 29) * 25.0 / 100.0;
    // The block has no TPS jump; a read always clears it.
    service.m_tpsJump = 0;
}

void encodeService(const CDeviceConfig& config, std::uint8_t* image) {
    const bool rawCounts = config.tpsValuesAreRawCounts();
    const SServiceSetup& service = config.m_serviceSetup;
    putDword(image, 0, service.m_serviceInterval);
    putWord(image, 4, countFromTpsValue(service.m_tpsCutOff, rawCounts));
    putWord(image, 6, toWord(round0(service.m_crInjCutOffTime / kInjCutOffStep)));
    putByte(image, 8, service.m_knockFreq);
    putByte(image, 9, service.m_knockIntTime);
    putByte(image, 10, service.m_tpsDigitEmuEnable);
    putByte(image, 11, service.m_knockGain);
    for (int channel = 0; channel < kEmulatorChannels; ++channel) {
        putWord(image, 12 + 2 * channel, countFromEmuOffset(service.m_emuOffset[channel]));
    }
    putWord(image, 20, toWord(round0(service.m_knockMaxSignal / kKnockVoltsPerCount)));
    putByte(image, 22, service.m_tpsEmLimitFlag);
    putByte(image, 23, roundedByte(service.m_tpsEmLimitDelay / 25.0));
    putWord(image, 24, periodFromRpm(service.m_maxRpm));
    putWord(image, 26, adcCount(service.m_mapCutOff, switchableScale()));
    putByte(image, 28, service.m_advancedFlags2);
    putByte(image, 29, roundedByte(service.m_rpmTh * 100.0 / 25.0));
}

void decodeTempomat(const std::uint8_t* image, CDeviceConfig& config) {
    STempomatSetup& tempomat = config.m_tempomatSetup;
    // The flags come first: they decide how this block's analogue TPS value reads.
    tempomat.m_tempomatFlags = wordAt(image, 8);
    const bool rawCounts = config.tpsValuesAreRawCounts();
    tempomat.m_rpmDetect = rpmFromPeriod(wordAt(image, 0), kRpmDetectForZeroPeriod);
    tempomat.m_turboDetect = adcVolts(wordAt(image, 2), switchableScale());
    tempomat.m_tpsAnalogDetect = tpsValueFromCount(wordAt(image, 4), rawCounts);
    tempomat.m_tpsDigitalDetect = wordAt(image, 6) / 10.0;
    tempomat.m_detectTime = byteAt(image, 10);
    tempomat.m_camshaftTh = byteAt(image, 11) * 25.0 / 100.0;
    tempomat.m_injDelayAngle = byteAt(image, 12);
    tempomat.m_ignitionOrder = byteAt(image, 13);
    tempomat.m_tpsDigitCutOff = wordAt(image, 14) / 10.0;
    tempomat.m_vCppLitersToTank = byteAt(image, 16);
    tempomat.m_minGasTempr = temperatureFromCode(byteAt(image, 17), gasSensor(config));
    tempomat.m_extExhaustTemprMask = wordAt(image, 18);
}

void encodeTempomat(const CDeviceConfig& config, std::uint8_t* image) {
    const bool rawCounts = config.tpsValuesAreRawCounts();
    const STempomatSetup& tempomat = config.m_tempomatSetup;
    putWord(image, 0, periodFromRpm(tempomat.m_rpmDetect));
    putWord(image, 2, adcCount(tempomat.m_turboDetect, switchableScale()));
    putWord(image, 4, countFromTpsValue(tempomat.m_tpsAnalogDetect, rawCounts));
    putWord(image, 6, toWord(round0(tempomat.m_tpsDigitalDetect * 10.0)));
    putWord(image, 8, tempomat.m_tempomatFlags);
    putByte(image, 10, roundedByte(tempomat.m_detectTime));
    putByte(image, 11, roundedByte(tempomat.m_camshaftTh * 100.0 / 25.0));
    putByte(image, 12, roundedByte(tempomat.m_injDelayAngle));
    putByte(image, 13, tempomat.m_ignitionOrder);
    putWord(image, 14, toWord(round0(tempomat.m_tpsDigitCutOff * 10.0)));
    putByte(image, 16, roundedByte(tempomat.m_vCppLitersToTank));
    putByte(image, 17, codeFromTemperature(tempomat.m_minGasTempr, gasSensor(config)));
    putWord(image, 18, tempomat.m_extExhaustTemprMask);
}

} // namespace torva::setup_blocks
