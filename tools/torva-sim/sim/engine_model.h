#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>

namespace torva::sim {

// Faults the engine model can show; each also sets its bit in the stored error status.
struct EngineFaults {
    bool noRpmSignal = false; // period reads 0xFFFF; sensors bit 0
    bool lowPressure = false; // gas pressure near 0; sensors bit 1
    bool lowSupply = false;   // supply well below the minimum; sensors bit 4
    bool hotExhaust = false;  // exhaust far above the limit; sensors bit 6
};

// Fuel mode bytes the simulated controller reports.
namespace mode {
constexpr std::uint8_t kAutoDiesel = 1; // automatic, still waiting for a warm engine
constexpr std::uint8_t kDiesel = 2;
constexpr std::uint8_t kGas = 3;
constexpr std::uint8_t kAutoGas = 4; // automatic, running on gas
} // namespace mode

// A small engine on a test bench: speed and load wander, the engine and the gas warm up, the tank
// empties slowly while on gas, the emulated signals follow the load.
class CEngineModel {
public:
    static constexpr std::size_t kSampleSize = 52;
    static constexpr std::size_t kCompactSampleSize = 34;

    CEngineModel(bool twentyFourVolt, std::uint16_t version, std::uint32_t seed);

    // Moves the engine on by seconds of running in the given fuel mode.
    void advance(double seconds, std::uint8_t fuelMode);

    // The live sample in the current layout (code 34) and in the older compact one (code 1).
    std::array<std::uint8_t, kSampleSize> sample(std::uint8_t fuelMode) const;
    std::array<std::uint8_t, kCompactSampleSize> compactSample(std::uint8_t fuelMode) const;

    void setFaults(const EngineFaults& faults) { m_faults = faults; }
    // Holds the throttle pedal at position 0...1: the TPS signals (analog 5-8 and the digital
    // values) stop following the load until released with nullopt.
    void holdPedal(std::optional<double> position) { m_pedal = position; }
    const EngineFaults& faults() const { return m_faults; }
    // The bits of error status byte 2 (sensors) that the active faults raise.
    std::uint8_t sensorErrorBits() const;

    double rpm() const { return m_faults.noRpmSignal ? 0.0 : m_rpm; }
    double load() const { return m_load; }
    double engineTemperature() const { return m_engineTemp; }
    double gasTemperature() const { return m_gasTemp; }
    double exhaustTemperature() const;
    double fuelLevel() const { return m_fuelLevel; }

    // Running time in half-seconds on diesel and on gas.
    std::uint32_t dieselHalfSeconds() const {
        return static_cast<std::uint32_t>(m_dieselSeconds * 2);
    }
    std::uint32_t gasHalfSeconds() const { return static_cast<std::uint32_t>(m_gasSeconds * 2); }
    // The three consumption counters: gas injection time in 2 µs counts, diesel injections, gas
    // injections.
    std::array<std::uint32_t, 3> counters() const;

    // Gas injection time in 2 µs counts for the given mode (0 when not on gas).
    std::uint16_t gasInjectionCount(std::uint8_t fuelMode) const;

private:
    bool m_twentyFourVolt;
    std::uint16_t m_version;
    std::mt19937 m_random;
    EngineFaults m_faults;
    std::optional<double> m_pedal;
    double m_time = 0;
    double m_rpm = 800;
    double m_load = 0.15;
    double m_engineTemp = 20;
    double m_gasTemp = 15;
    double m_fuelLevel = 90;
    double m_dieselSeconds = 720000; // 100 h of running before the simulation starts
    double m_gasSeconds = 360000;
    double m_gasInjectionCounts = 0;
    double m_dieselInjections = 0;
    double m_gasInjections = 0;
};

} // namespace torva::sim
