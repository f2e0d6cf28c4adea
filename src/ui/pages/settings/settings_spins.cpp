#include "ui/pages/settings/settings_spins.h"

#include "config/conversions.h"
#include "config/device_config.h"
#include "config/device_type.h"
#include "config/rounding.h"
#include "ui/pages/settings/settings_options.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace torva {

namespace {

constexpr double kKPaPerBar = 100.0;

// The pressure fields travel as one byte; the range shown never leaves what it holds.
SSpinRule pressureRule(double minBar, double maxBar, std::int32_t version) {
    const double lowest = pressureFromCode(0, version) / kKPaPerBar;
    const double highest = pressureFromCode(255, version) / kKPaPerBar;
    return {
        0.01,        std::max(minBar, lowest), std::min(maxBar, highest), ESpinLimit::Clamp, "%.2f",
        EBlock::Base};
}

bool highPowerDevice(std::uint8_t deviceType) {
    return deviceType == kDeviceType40 || deviceType == kDeviceType3;
}

template <typename Config> auto* tpsCutOffField(Config& config) {
    return tpsType(config) == ETpsType::Digital ? &config.m_tempomatSetup.m_tpsDigitCutOff
                                                : &config.m_serviceSetup.m_tpsCutOff;
}

template <typename Config> auto* tpsDetectField(Config& config) {
    return tpsType(config) == ETpsType::Digital ? &config.m_tempomatSetup.m_tpsDigitalDetect
                                                : &config.m_tempomatSetup.m_tpsAnalogDetect;
}

// The double field behind a spin; nullptr for the ones stored otherwise (divider, pressures).
template <typename Config> auto* plainField(ESettingsSpin spin, Config& config) {
    using Field = decltype(&config.m_base.m_switchRPM);
    switch (spin) {
    case ESettingsSpin::SwitchRpm:
        return &config.m_base.m_switchRPM;
    case ESettingsSpin::SwitchTempr:
        return &config.m_base.m_switchTempr;
    case ESettingsSpin::MinVcc:
        return &config.m_base.m_minVCC;
    case ESettingsSpin::Pwm:
        return &config.m_adv.m_pwm;
    case ESettingsSpin::PwmOffset:
        return &config.m_adv.m_pwmOffset;
    case ESettingsSpin::RpmTh:
        return &config.m_serviceSetup.m_rpmTh;
    case ESettingsSpin::MaxRpm:
        return &config.m_serviceSetup.m_maxRpm;
    case ESettingsSpin::CrInjCutOffTime:
        return &config.m_serviceSetup.m_crInjCutOffTime;
    case ESettingsSpin::TpsCutOff:
        return tpsCutOffField(config);
    case ESettingsSpin::TpsDetect:
        return tpsDetectField(config);
    case ESettingsSpin::TurboDetect:
        return &config.m_tempomatSetup.m_turboDetect;
    case ESettingsSpin::RpmDetect:
        return &config.m_tempomatSetup.m_rpmDetect;
    case ESettingsSpin::DetectTime:
        return &config.m_tempomatSetup.m_detectTime;
    case ESettingsSpin::CamshaftTh:
        return &config.m_tempomatSetup.m_camshaftTh;
    case ESettingsSpin::InjDelayAngle:
        return &config.m_tempomatSetup.m_injDelayAngle;
    case ESettingsSpin::MinGasTempr:
        return &config.m_tempomatSetup.m_minGasTempr;
    case ESettingsSpin::TorvaDivider:
    case ESettingsSpin::PressureRef:
    case ESettingsSpin::SwitchPressure:
        break;
    }
    return static_cast<Field>(nullptr);
}

SSpinRule tpsRule(ETpsType type, EBlock analogBlock, EBlock digitalBlock) {
    switch (type) {
    case ETpsType::Digital:
        return {1, 0, 100, ESpinLimit::Clamp, "%.0f", digitalBlock};
    case ETpsType::External:
        return {1, 0, 100, ESpinLimit::Clamp, "%.0f", analogBlock};
    case ETpsType::Analog:
        break;
    }
    return {0.01, 0, 12, ESpinLimit::Clamp, "%.2f", analogBlock};
}

} // namespace

SSpinRule spinRule(ESettingsSpin spin, const CDeviceConfig& config) {
    const std::uint8_t deviceType = config.m_devInfo.m_deviceID;
    const std::int32_t version = config.m_devInfo.m_version;
    using L = ESpinLimit;
    switch (spin) {
    case ESettingsSpin::SwitchRpm:
        return {20, 500, 4000, L::Refuse, "%.0f", EBlock::Base};
    case ESettingsSpin::TorvaDivider:
        return {1, 1, 200, L::Refuse, "%u", EBlock::Base};
    case ESettingsSpin::SwitchTempr:
        return {1, 0, 70, L::Refuse, "%.0f", EBlock::Base};
    case ESettingsSpin::PressureRef:
        return pressureRule(0.7, 3.5, version);
    case ESettingsSpin::SwitchPressure:
        return pressureRule(0.0, 2.0, version);
    case ESettingsSpin::MinVcc:
        return isTwentyFourVoltDevice(deviceType)
                   ? SSpinRule{0.1, 18, 24, L::Clamp, "%.1f", EBlock::Base}
                   : SSpinRule{0.1, 8, 12, L::Clamp, "%.1f", EBlock::Base};
    case ESettingsSpin::Pwm:
        return {1,        15,     highPowerDevice(deviceType) ? 50.0 : 40.0,
                L::Clamp, "%.0f", EBlock::Advanced};
    case ESettingsSpin::PwmOffset:
        return {0.1,      1,      highPowerDevice(deviceType) ? 4.0 : 3.0,
                L::Clamp, "%.1f", EBlock::Advanced};
    case ESettingsSpin::RpmTh:
        return {0.25, 0, 23, L::Clamp, "%.2f", EBlock::Service};
    case ESettingsSpin::MaxRpm:
        return {100, 1600, 6000, L::Clamp, "%.0f", EBlock::Service};
    case ESettingsSpin::CrInjCutOffTime:
        return {0.01, 0, 10, L::Clamp, "%.2f", EBlock::Service};
    case ESettingsSpin::TpsCutOff:
        return tpsRule(tpsType(config), EBlock::Service, EBlock::Tempomat);
    case ESettingsSpin::TpsDetect:
        return tpsRule(tpsType(config), EBlock::Tempomat, EBlock::Tempomat);
    case ESettingsSpin::TurboDetect:
        return {0.01, 0, 12, L::Clamp, "%.2f", EBlock::Tempomat};
    case ESettingsSpin::RpmDetect:
        return {50, 500, 5000, L::Clamp, "%.0f", EBlock::Tempomat};
    case ESettingsSpin::DetectTime:
        return {1, 1, 60, L::Clamp, "%.0f", EBlock::Tempomat};
    case ESettingsSpin::CamshaftTh:
        return {0.25, 0, 23, L::Clamp, "%.2f", EBlock::Tempomat};
    case ESettingsSpin::InjDelayAngle:
        return {1, 0, 100, L::Clamp, "%.0f", EBlock::Tempomat};
    case ESettingsSpin::MinGasTempr:
        return {1, 0, 20, L::Clamp, "%.0f", EBlock::Tempomat};
    }
    return {1, 0, 0, L::Refuse, "%.0f", EBlock::Base};
}

double spinValue(ESettingsSpin spin, const CDeviceConfig& config) {
    switch (spin) {
    case ESettingsSpin::TorvaDivider:
        return config.m_base.m_torvaDivider;
    case ESettingsSpin::PressureRef:
        return config.m_base.m_pressureRef / kKPaPerBar;
    case ESettingsSpin::SwitchPressure:
        return config.m_base.m_switchPressure / kKPaPerBar;
    default:
        return *plainField(spin, config);
    }
}

void setSpinValue(ESettingsSpin spin, CDeviceConfig& config, double value) {
    switch (spin) {
    case ESettingsSpin::TorvaDivider:
        config.m_base.m_torvaDivider = toByte(round0(value));
        return;
    case ESettingsSpin::PressureRef:
        config.m_base.m_pressureRef = round0(value * kKPaPerBar);
        return;
    case ESettingsSpin::SwitchPressure:
        config.m_base.m_switchPressure = round0(value * kKPaPerBar);
        return;
    default:
        *plainField(spin, config) = value;
    }
}

std::optional<double> steppedValue(const SSpinRule& rule, double current, int direction) {
    // Two decimals hold every step exactly and keep repeated hundredths from drifting.
    double next = round2(current + (direction > 0 ? rule.step : -rule.step));
    if (next < rule.min || next > rule.max) {
        if (rule.limit == ESpinLimit::Refuse)
            return std::nullopt;
        next = std::clamp(next, rule.min, rule.max);
    }
    if (next == current)
        return std::nullopt;
    return next;
}

bool stepSpin(ESettingsSpin spin, CDeviceConfig& config, int direction) {
    const auto next = steppedValue(spinRule(spin, config), spinValue(spin, config), direction);
    if (!next)
        return false;
    setSpinValue(spin, config, *next);
    return true;
}

SUpDownRule upDownRule(const SSpinRule& rule) {
    return {.step = rule.step,
            .min = rule.min,
            .max = rule.max,
            .format = rule.format,
            .outOfRange =
                rule.limit == ESpinLimit::Clamp ? EOutOfRange::Clamp : EOutOfRange::Refuse};
}

std::string formatSpinValue(ESettingsSpin spin, const CDeviceConfig& config) {
    const SSpinRule rule = spinRule(spin, config);
    const double value = spinValue(spin, config);
    char text[32];
    if (std::strcmp(rule.format, "%u") == 0)
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    else
        std::snprintf(text, sizeof text, rule.format, value);
    return text;
}

} // namespace torva
