#include "ui/pages/readings/readings_rules.h"

#include "config/device_config.h"
#include "diag/diag_sample_values.h"
#include "lang/source_text.h"

#include <utility>

namespace torva {

namespace {

constexpr std::uint16_t kCommonRailSpeedFlag = 0x80; // tempomat flags
constexpr std::uint16_t kCamshaftSpeedFlag = 0x02;   // tempomat flags
constexpr std::uint16_t kCruiseActiveBit = 0x01;     // m_statusFlags
constexpr std::uint8_t kSwitchBlinkA = 1;
constexpr std::uint8_t kSwitchBlinkB = 4;
// Shown instead of an injector time too short to read, so the bar is not empty.
constexpr double kShortestShownCrTime = 0.001;

double bar(double kPa) {
    return kPa / 100.0;
}

} // namespace

const char* auxSpeedCaption(EAuxSpeedSource source) {
    return source == EAuxSpeedSource::CommonRail ? PL("Obroty z CR") : PL("Obroty z rozrządu");
}

SReadingsGauges readingsGauges(const DiagSample& sample, const CDeviceConfig& config) {
    const std::uint16_t flags = config.m_tempomatSetup.m_tempomatFlags;
    const std::int32_t version = config.m_devInfo.m_version;
    SReadingsGauges g;
    g.rpm = rpmFromSamplePeriod(sample.m_rpmPeriod);
    const double auxRpm = rpmFromSamplePeriod(sample.m_auxRpmPeriod);
    if ((flags & kAuxEngineSpeedFlags) != 0) {
        g.auxSource = EAuxSpeedSource::Camshaft;
        g.auxRpm = auxRpm;
    } else if ((flags & kCommonRailSpeedFlag) != 0) {
        g.auxSource = EAuxSpeedSource::CommonRail;
        g.auxRpm = auxRpm;
        const double ms = crInjTimeMs(sample.m_crInjTime);
        g.crInjTimeMs = ms < 0.01 ? kShortestShownCrTime : ms;
    }
    // Signals 1 and 3 always use the fixed scale, whatever the tempomat flags say of 5-8.
    g.mapSensorVolts = signalValue(sample, 0, flags, signalScale(config.m_devInfo.m_flags1));
    g.mafVolts = signalValue(sample, 2, flags, signalScale(config.m_devInfo.m_flags1));
    g.vacuumBar = bar(liveVacuum(sample.m_vacuumRaw, version, config.m_base.m_advancedFlags));
    g.pressureBar = bar(livePressure(sample.m_pressureRaw, version));
    g.gasTemperature =
        sampleTemperature(sample.m_temprLPGRaw, config.m_sensorsSetup.m_temprLPGSensor);
    g.reducerTemperature =
        sampleTemperature(sample.m_temprEngineRaw, config.m_sensorsSetup.m_temprEngineSensor);
    g.supplyVolts = supplyVoltage(sample.m_vccRaw, config.m_devInfo.m_deviceID);
    g.exhaustTemperature = sample.m_exhaustTempr;
    const bool camshaftStopped = (flags & kCamshaftSpeedFlag) != 0 && auxRpm == 0;
    g.gasInjTimeMs = camshaftStopped ? 0.0 : gasInjTimeMs(sample.m_gasInjTime);
    return g;
}

int fuelLevel(std::uint8_t raw, const SSensorsSetup& sensors) {
    const bool falling = sensors.m_fuelFull < sensors.m_fuelHgw;
    const auto beyond = [&](std::uint8_t threshold) {
        return falling ? std::uint8_t(~raw) > std::uint8_t(~threshold) : raw > threshold;
    };
    if (beyond(sensors.m_fuelFull)) {
        return 4;
    }
    if (beyond(sensors.m_fuelHgw)) {
        return 3;
    }
    if (beyond(sensors.m_fuelHalf)) {
        return 2;
    }
    if (beyond(sensors.m_fuelQuarter)) {
        return 1;
    }
    return 0;
}

EConsolePicture gasPicture(int level) {
    switch (level) {
    case 0:
        return EConsolePicture::Gas0;
    case 1:
        return EConsolePicture::Gas1;
    case 2:
        return EConsolePicture::Gas2;
    case 3:
        return EConsolePicture::Gas3;
    default:
        return EConsolePicture::Gas4;
    }
}

EConsolePicture CConsoleBlink::next(const DiagSample& sample, int level) {
    if (sample.m_fuelMode == kFuelModeGas) {
        return gasPicture(level);
    }
    bool* phase = nullptr;
    if (sample.m_switchState == kSwitchBlinkA) {
        phase = &m_phase1;
    } else if (sample.m_switchState == kSwitchBlinkB) {
        phase = &m_phase4;
    } else {
        return EConsolePicture::Diesel;
    }
    *phase = !*phase;
    return *phase ? EConsolePicture::Lit : EConsolePicture::Diesel;
}

SConsumption consumption(const DeviceCounters& counters, const DiagSample& sample,
                         const CDeviceConfig& config) {
    const bool cng = (config.m_base.m_advancedFlags & kCngInstallationFlag) != 0;
    const double q = config.m_base.m_pressureRef / (cng ? 200.0 : 100.0);

    const double a = counters[0];
    const double c = counters[2];
    double total = a * 0.002;
    if (c != 0 && total / c > 2) {
        total -= c;
    } else {
        total *= 0.5;
    }

    const double g = sample.m_gasInjTime;
    const double p = sample.m_rpmPeriod;
    const double injectors = config.m_adv.m_injMounted;
    double perCycle = 0;
    if (p != 0) {
        perCycle = g * 0.002 > 2 ? injectors * (g - 500) / p : injectors * g * 0.25 / p;
    }

    // Injector flow constants of the two gases.
    const double flow = cng ? 2.4e-6 * 1.4 * 0.7 : 2.6e-6 * 2 * 0.7;
    return {q * total * flow, perCycle * q * flow * 3'600'000};
}

bool CReadingsCountdowns::due(int& countdown, int period) {
    if (--countdown > 0) {
        return false;
    }
    countdown = period;
    return true;
}

std::optional<const char*> CReadingsLabels::modeChange(std::uint8_t fuelMode) {
    const bool blank = std::exchange(m_modeBlank, false);
    if (fuelMode == m_fuelMode && !blank) {
        return std::nullopt;
    }
    m_fuelMode = fuelMode;
    return fuelMode == kFuelModeGas ? PL("GAZ") : PL("DIESEL");
}

std::optional<const char*> CReadingsLabels::cruiseChange(std::uint16_t statusFlags) {
    const bool cruise = (statusFlags & kCruiseActiveBit) != 0;
    const bool blank = std::exchange(m_cruiseBlank, false);
    if (cruise == m_cruise && !blank) {
        return std::nullopt;
    }
    m_cruise = cruise;
    return cruise ? PL("TEMPOMAT") : "";
}

} // namespace torva
