#include "link/demo_sample.h"

#include "config/adc_scale.h"
#include "config/conversions.h"
#include "config/device_config.h"
#include "config/device_type.h"
#include "config/maps/map_catalogue.h"
#include "config/temperature_table.h"
#include "link/demo_engine.h"
#include "link/demo_state.h"
#include "link/diag_data.h"
#include "platform/clock.h"

#include <algorithm>
#include <cmath>

namespace torva {

namespace {

// The first axis point above value, or the last one: the cell the grids mark live.
template <std::size_t N> int pointAbove(const std::array<double, N>& axis, double value) {
    for (std::size_t i = 0; i < N; ++i) {
        if (value < axis[i])
            return static_cast<int>(i);
    }
    return static_cast<int>(N - 1);
}

double mapValueAt(const CDeviceConfig& config, int mapNumber, double rpm, double input) {
    const SMapInfo& info = mapInfo(mapNumber);
    const int column = pointAbove(config.m_mapRpmCoordinatesEmu1, rpm);
    const int row = pointAbove(loadAxis(config, info.channel), input);
    return mapValues(config, mapNumber)[row][column];
}

std::uint16_t signalCount(double volts, double scale) {
    return adcCount(std::max(volts, 0.0), scale);
}

std::uint16_t wordOf(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

// m_base.m_advancedFlags bit 0x10: the vacuum sensor reads absolute pressure.
constexpr std::uint8_t kAbsoluteVacuumSensor = 0x10;

// The code of an absolute pressure sensor (kPa).
std::uint8_t absolutePressureCode(double kPa) {
    return static_cast<std::uint8_t>(
        std::clamp(std::lround((kPa * 0.002421 - 0.00842) * 255.0), 0L, 255L));
}

} // namespace

void fillDemoSample(DiagSample& sample, const CDeviceConfig& config, CDiagData& store) {
    const std::int32_t sequence = demoSequence().fetch_add(1);
    if (sequence == 1)
        store.clear();
    sample = demoSampleAt(config, demoEngineSeconds(appClock().nowMs()), demoFuelMode());
    sample.m_seq = sequence;
}

DiagSample demoSampleAt(const CDeviceConfig& config, double engineSeconds, std::uint8_t fuelMode) {
    const bool gas = fuelMode == kFuelModeGas;
    const SDemoEngineState engine = demoEngineAt(engineSeconds);
    const std::uint8_t deviceType = config.m_devInfo.m_deviceID;
    const std::int32_t version = config.m_devInfo.m_version;
    const std::uint16_t period = periodFromRpm(engine.rpm);

    // The engine's sensors as its own ECU sees them.
    const double manifoldKPa = 35.0 + 150.0 * engine.load;
    const double overManifoldKPa = 120.0 - 8.0 * engine.load;
    const double gasPressureKPa =
        version >= kSecondPressureFormulaVersion ? manifoldKPa + overManifoldKPa : overManifoldKPa;
    const double mapVolts = 0.9 + 3.3 * engine.load;
    const double airflow = engine.rpm / 4000.0 * (0.3 + 0.7 * engine.load);
    const double mafVolts = 1.0 + 3.3 * std::min(airflow, 1.0);
    const double pedal1Volts = 0.6 + 3.6 * engine.pedal;
    const double pedal2Volts = pedal1Volts / 2.0;
    const double digitalPedal = 10.0 + 75.0 * engine.pedal; // PWM duty, %

    // On gas each enabled emulator moves its signal by the emulation map at the engine's cell,
    // and the gas injectors open for the time map 1 gives there.
    const auto emulated = [&](int channel, double input) {
        const bool enabled = channel == kTpsDigitalChannel
                                 ? config.m_serviceSetup.m_tpsDigitEmuEnable != 0
                                 : config.m_base.m_emuEnable[channel - 1] != 0;
        if (!gas || !enabled)
            return input;
        const int emulationMap = 2 * channel;
        return input * (1.0 + mapValueAt(config, emulationMap, engine.rpm, input) / 100.0);
    };
    const double gasTimeMs = gas ? mapValueAt(config, 1, engine.rpm, mapVolts) : 0.0;
    // Gas takes over part of the diesel's work.
    const double dieselTimeMs = (0.35 + 1.4 * engine.load) * (gas ? 0.45 : 1.0);
    const double scaleK = switchableScale();
    const double digitalOut = emulated(kTpsDigitalChannel, digitalPedal);
    const double pwmPeriodMs = 2.0;

    const std::uint8_t fuelFull = config.m_sensorsSetup.m_fuelFull;
    const std::uint8_t fuelHgw = config.m_sensorsSetup.m_fuelHgw;
    return DiagSample{
        .m_rpmPeriod = period,
        .m_fuelMode = fuelMode,
        .m_switchState = 0,
        .m_temprEngineRaw = codeFromTemperature(engine.engineTemperature,
                                                config.m_sensorsSetup.m_temprEngineSensor),
        .m_temprLPGRaw =
            codeFromTemperature(engine.gasTemperature, config.m_sensorsSetup.m_temprLPGSensor),
        .m_vccRaw =
            codeFromSupplyVoltage(isTwentyFourVoltDevice(deviceType) ? 27.6 : 13.8, deviceType),
        // Three quarters of a tank: between the 3/4 and the full threshold, whichever way the
        // sensor runs.
        .m_fuelLevelRaw = static_cast<std::uint8_t>((fuelFull + fuelHgw) / 2),
        // The reducer holds its working pressure above the manifold; older firmware reads it
        // relative to the air outside.
        .m_pressureRaw = codeFromPressure(gasPressureKPa, version),
        .m_vacuumRaw = (config.m_base.m_advancedFlags & kAbsoluteVacuumSensor) != 0
                           ? absolutePressureCode(manifoldKPa)
                           : codeFromPressure(manifoldKPa, version),
        .m_signal = {signalCount(mapVolts, kFixedAdcScale),
                     signalCount(emulated(1, mapVolts), kFixedAdcScale),
                     signalCount(mafVolts, kFixedAdcScale),
                     signalCount(emulated(2, mafVolts), kFixedAdcScale),
                     signalCount(pedal1Volts, scaleK),
                     signalCount(emulated(3, pedal1Volts), scaleK),
                     signalCount(pedal2Volts, scaleK),
                     signalCount(emulated(4, pedal2Volts), scaleK)},
        .m_exhaustTempr = wordOf(engine.exhaustTemperature),
        .m_statusFlags = 0,
        .m_crInjTime = wordOf(dieselTimeMs / 0.008),
        .m_auxRpmPeriod = period,
        .m_gasInjTime = wordOf(gasTimeMs / 0.002),
        .m_ext = {wordOf(pwmPeriodMs / 0.002), wordOf(pwmPeriodMs * digitalPedal / 100.0 / 0.002),
                  wordOf(digitalPedal * 10.0), wordOf(digitalOut * 10.0),
                  wordOf(pwmPeriodMs / 0.002), wordOf(pwmPeriodMs * digitalOut / 100.0 / 0.002),
                  wordOf(digitalPedal * 10.0), wordOf(digitalOut * 10.0)},
        .m_seq = 0,
    };
}

} // namespace torva
