#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace torva::sim {

namespace {

// (raw code, °C) points of the default temperature sensor; codes fall as temperatures rise.
constexpr std::array<std::array<double, 2>, 16> kSensorCurve{{
    {0, 209},
    {16, 138},
    {32, 100},
    {48, 81},
    {64, 68},
    {80, 59},
    {96, 51},
    {112, 44},
    {128, 37},
    {144, 31},
    {160, 24},
    {176, 18},
    {192, 11},
    {208, 4},
    {224, -6},
    {240, -19},
}};

std::uint8_t temperatureCode(double celsius) {
    if (celsius >= kSensorCurve.front()[1])
        return 0;
    for (std::size_t i = 1; i < kSensorCurve.size(); ++i) {
        const auto& [raw0, t0] = kSensorCurve[i - 1];
        const auto& [raw1, t1] = kSensorCurve[i];
        if (celsius >= t1)
            return static_cast<std::uint8_t>(raw0 + (t0 - celsius) / (t0 - t1) * (raw1 - raw0));
    }
    return 255;
}

std::uint8_t byteOf(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

std::uint16_t wordOf(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

void put16(std::uint8_t* sample, std::size_t at, std::uint16_t value) {
    sample[at] = static_cast<std::uint8_t>(value & 0xFF);
    sample[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

bool onGas(std::uint8_t fuelMode) {
    return fuelMode == mode::kGas || fuelMode == mode::kAutoGas;
}

} // namespace

CEngineModel::CEngineModel(bool twentyFourVolt, std::uint16_t version, std::uint32_t seed)
    : m_twentyFourVolt(twentyFourVolt), m_version(version), m_random(seed) {}

void CEngineModel::advance(double seconds, std::uint8_t fuelMode) {
    if (seconds <= 0)
        return;
    m_time += seconds;
    std::uniform_real_distribution<double> jitter(-1.0, 1.0);
    // Two slow waves give a drive that never quite repeats; a little jitter keeps it alive.
    m_rpm =
        1500 + 650 * std::sin(m_time / 7.0) + 250 * std::sin(m_time / 2.3) + 20 * jitter(m_random);
    m_load = std::clamp(0.45 + 0.3 * std::sin(m_time / 5.0 + 1.0) + 0.1 * std::sin(m_time / 1.7) +
                            0.02 * jitter(m_random),
                        0.05, 0.95);
    const double engineTarget = 85.0, gasTarget = 40.0;
    m_engineTemp += (engineTarget - m_engineTemp) * (1.0 - std::exp(-seconds / 120.0));
    m_gasTemp += (gasTarget - m_gasTemp) * (1.0 - std::exp(-seconds / 180.0));

    const double injections = rpm() / 120.0 * seconds; // one per cylinder every second revolution
    if (onGas(fuelMode)) {
        m_gasSeconds += seconds;
        m_fuelLevel = std::max(0.0, m_fuelLevel - seconds / 20.0);
        m_gasInjections += injections;
        m_gasInjectionCounts += injections * gasInjectionCount(fuelMode);
    } else {
        m_dieselSeconds += seconds;
        m_dieselInjections += injections;
    }
}

double CEngineModel::exhaustTemperature() const {
    return 180 + 420 * m_load + (m_faults.hotExhaust ? 350 : 0);
}

std::uint16_t CEngineModel::gasInjectionCount(std::uint8_t fuelMode) const {
    if (!onGas(fuelMode))
        return 0;
    const double ms = 1.5 + 6.0 * m_load;
    return wordOf(ms / 0.002);
}

std::uint8_t CEngineModel::sensorErrorBits() const {
    return static_cast<std::uint8_t>(
        (m_faults.noRpmSignal ? 0x01 : 0) | (m_faults.lowPressure ? 0x02 : 0) |
        (m_faults.lowSupply ? 0x10 : 0) | (m_faults.hotExhaust ? 0x40 : 0));
}

std::array<std::uint32_t, 3> CEngineModel::counters() const {
    return {static_cast<std::uint32_t>(m_gasInjectionCounts),
            static_cast<std::uint32_t>(m_dieselInjections),
            static_cast<std::uint32_t>(m_gasInjections)};
}

std::array<std::uint8_t, CEngineModel::kSampleSize>
CEngineModel::sample(std::uint8_t fuelMode) const {
    std::array<std::uint8_t, kSampleSize> s{};
    const std::uint16_t period = m_faults.noRpmSignal ? 0xFFFF : wordOf(15000000.0 / m_rpm);
    put16(s.data(), 0, period);
    s[2] = fuelMode;
    s[3] = 0;
    s[4] = temperatureCode(m_engineTemp);
    s[5] = temperatureCode(m_gasTemp);
    const double volts =
        m_faults.lowSupply ? (m_twentyFourVolt ? 16.0 : 8.0) : (m_twentyFourVolt ? 27.8 : 13.9);
    s[6] = byteOf(volts / (m_twentyFourVolt ? 11.0 : 6.0) * 51.0);
    s[7] = byteOf(m_fuelLevel);
    const double pressure = m_faults.lowPressure ? 10.0 : 120.0 + 20.0 * m_load;
    s[8] = byteOf(m_version >= 271 ? (pressure * 0.002421 - 0.00842) * 255
                                   : (0.04 + pressure * 0.004) * 255);
    const double manifold = 35.0 + 150.0 * m_load; // absolute manifold pressure, kPa
    s[9] = byteOf((manifold * 0.002421 - 0.00842) * 255);

    const bool gas = onGas(fuelMode);
    const double emulation = gas ? 0.85 : 1.0; // the emulator pulls the signals down on gas
    const double pedal = m_pedal.value_or(m_load);
    const std::array<double, 8> signals{
        150 + 700 * m_load, (150 + 700 * m_load) * emulation,
        120 + 600 * m_load, (120 + 600 * m_load) * emulation,
        100 + 750 * pedal,  (100 + 750 * pedal) * emulation,
        50 + 375 * pedal,   (50 + 375 * pedal) * emulation,
    };
    for (std::size_t i = 0; i < signals.size(); ++i)
        put16(s.data(), 10 + 2 * i, wordOf(signals[i]));
    put16(s.data(), 26, wordOf(exhaustTemperature()));
    put16(s.data(), 28, 0);
    put16(s.data(), 30, wordOf((0.4 + 1.2 * m_load) / 0.008));
    put16(s.data(), 32, period);
    const std::uint16_t gasCount = gasInjectionCount(fuelMode);
    put16(s.data(), 34, gasCount);
    put16(s.data(), 36, gasCount);
    put16(s.data(), 38, gasCount);
    put16(s.data(), 40, wordOf(100 + 800 * pedal));
    put16(s.data(), 42, wordOf(100 + 800 * pedal));
    return s;
}

std::array<std::uint8_t, CEngineModel::kCompactSampleSize>
CEngineModel::compactSample(std::uint8_t fuelMode) const {
    const auto full = sample(fuelMode);
    std::array<std::uint8_t, kCompactSampleSize> s{};
    std::memcpy(s.data(), full.data(), 30);
    // Bytes 30-31 carry nothing the PC reads; the gas injection time follows at 32.
    s[32] = full[34];
    s[33] = full[35];
    return s;
}

} // namespace torva::sim
