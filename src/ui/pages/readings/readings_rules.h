#pragma once

#include "link/device_records.h"
#include "link/diag_sample.h"

#include <cstdint>
#include <optional>

namespace torva {

class CDeviceConfig;
struct SSensorsSetup;

// The readings page's rules, apart from any widget.

// The caption of the second speed gauge: the camshaft ("Obroty z rozrządu") or the
// common-rail injector signal ("Obroty z CR").
enum class EAuxSpeedSource { Camshaft, CommonRail };
const char* auxSpeedCaption(EAuxSpeedSource source);

// Gauges 1 to 12 of one sample (13 and 14 are the consumption).
struct SReadingsGauges {
    double rpm = 0;
    double auxRpm = 0;
    double crInjTimeMs = 0;
    double mapSensorVolts = 0;
    double mafVolts = 0;
    double vacuumBar = 0;
    double pressureBar = 0;
    double gasTemperature = 0;
    double reducerTemperature = 0;
    double supplyVolts = 0;
    double exhaustTemperature = 0;
    double gasInjTimeMs = 0;
    EAuxSpeedSource auxSource = EAuxSpeedSource::Camshaft;
};

// The tempomat flags decide what gauges 2 and 3 show: with bit 0x02 or 0x20 the second speed
// comes from the camshaft (and the injector time is not shown), else with bit 0x80 from the
// common-rail injector signal with its ON time, else neither.
SReadingsGauges readingsGauges(const DiagSample& sample, const CDeviceConfig& config);

// Fuel level 0-4 of the sensor value against the thresholds. A sensor whose value falls as the
// tank fills (full threshold below the 3/4 one) is compared on inverted values.
int fuelLevel(std::uint8_t raw, const SSensorsSetup& sensors);

// What the switch panel shows.
enum class EConsolePicture { Diesel, Gas0, Gas1, Gas2, Gas3, Gas4, Lit };
EConsolePicture gasPicture(int level);

// The switch panel's blinking: the lamp blinks while the switch reports state 1 or 4, each
// with a phase of its own; in gas mode the panel shows the fuel level.
class CConsoleBlink {
public:
    EConsolePicture next(const DiagSample& sample, int level);

private:
    bool m_phase1 = false;
    bool m_phase4 = false;
};

// Gas consumption from the controller's counters (first and third) and the newest sample.
struct SConsumption {
    double totalLitres = 0;   // gauge 13
    double litresPerHour = 0; // gauge 14
};
SConsumption consumption(const DeviceCounters& counters, const DiagSample& sample,
                         const CDeviceConfig& config);
// The consumption gauges exist from this firmware version on (exclusive).
constexpr std::int32_t kConsumptionAfterVersion = 270;

// The page's three countdowns: the switch panel every 3rd refresh, the error label every 8th,
// the consumption every 9th. Each tick answers whether its turn has come.
class CReadingsCountdowns {
public:
    bool fuelLevelDue() { return due(m_fuelLevel, 3); }
    bool errorsDue() { return due(m_errors, 8); }
    bool consumptionDue() { return due(m_consumption, 9); }

private:
    static bool due(int& countdown, int period);
    int m_fuelLevel = 3;
    int m_errors = 8;
    int m_consumption = 9;
};

// The mode and cruise labels are translated and rewritten only when what they show changes.
class CReadingsLabels {
public:
    // The Polish text of the mode label when it must change, else nothing.
    std::optional<const char*> modeChange(std::uint8_t fuelMode);
    std::optional<const char*> cruiseChange(std::uint16_t statusFlags);
    // Both labels were emptied (no controller): the next sample writes them again.
    void forget() { m_modeBlank = m_cruiseBlank = true; }

private:
    std::uint8_t m_fuelMode = kFuelModeDiesel; // the label starts as "DIESEL"
    bool m_cruise = false;
    bool m_modeBlank = false;
    bool m_cruiseBlank = false;
};

} // namespace torva
