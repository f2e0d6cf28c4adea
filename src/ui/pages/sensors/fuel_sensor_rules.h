#pragma once

#include "ui/pages/common/up_down_rule.h"
#include "ui/pages/common/value_list.h"

#include <cstdint>
#include <optional>
#include <string>

namespace torva {

class CDeviceConfig;
struct SSensorsSetup;

// The fuel level sensor types by their stored number.
namespace fuel_sensor {
inline constexpr int kAeb1050 = 1;
inline constexpr int kOhm1090 = 4;
inline constexpr int kVoltageCng = 10;
inline constexpr int kCng201C = 13;   // thresholds shown in bar
inline constexpr int kCngHts260 = 14; // thresholds shown in bar
inline constexpr int kVirtual = 21;   // level counted from the consumption
inline constexpr std::int32_t kVirtualVersion = 287;
} // namespace fuel_sensor

// The four thresholds the controller compares the raw sensor value with: R4 full, R3 three
// quarters, R2 half, R1 quarter.
struct SFuelThresholds {
    std::uint8_t full = 0;
    std::uint8_t hgw = 0;
    std::uint8_t half = 0;
    std::uint8_t quarter = 0;

    bool operator==(const SFuelThresholds&) const = default;
};

// A sensor type's thresholds and its electrical class (m_fuelRes 0, 1 or 2).
struct SFuelSensorPreset {
    SFuelThresholds thresholds;
    std::uint8_t fuelRes = 0;
};

// The preset of a type, also of the types only recognised and never offered; nullopt for a
// number no sensor has.
std::optional<SFuelSensorPreset> fuelSensorPreset(int type);

// "Typ:" of the fuel level sensor dialog; the virtual sensor only on firmware that has it.
SValueList fuelSensorTypeList(std::int32_t firmwareVersion);
bool hasVirtualFuelSensor(std::int32_t firmwareVersion);

// The type the stored thresholds, electrical class and virtual flag stand for.
int recogniseFuelSensor(const CDeviceConfig& config);
// The type a type combo shows: the recognised one when the stored thresholds are its preset's
// (or the virtual sensor is on); std::nullopt when they match no preset, since a preset shown
// then would claim thresholds the controller does not hold.
std::optional<int> shownFuelSensor(const CDeviceConfig& config);
// Types 13 and 14 show their thresholds in bar.
bool fuelSensorInBar(int type);

SFuelThresholds fuelThresholds(const SSensorsSetup& sensors);
// Stores the thresholds and sets m_fuelType: 1 when R4 lies below R1 (the thresholds rise from
// full to quarter and travel inverted).
void setFuelThresholds(SSensorsSetup& sensors, const SFuelThresholds& thresholds);

// Choosing a type: its preset thresholds and class, the direction flag and, on firmware with
// the virtual sensor, its flag in m_tempomatFlags. An unknown type changes nothing.
void applyFuelSensorType(CDeviceConfig& config, int type);

// "Ustaw minimum": the live level becomes R1, R4 stays, R3 and R2 split the way between them.
SFuelThresholds fuelMinimumFromLevel(const SFuelThresholds& now, std::uint8_t level);
// "Ustaw maksimum": the live level becomes R4, R1 stays.
SFuelThresholds fuelMaximumFromLevel(const SFuelThresholds& now, std::uint8_t level);

// The level in per cent the dialog shows (80, 60, 40, 20 or 5).
int fuelLevelPercent(std::uint8_t raw, const SSensorsSetup& sensors);
// A threshold or the raw level as shown for the selected type: with type 13 raw x 0.8 bar
// ("%.1f"), else the plain number.
std::string fuelValueText(std::uint8_t raw, int type);

// The threshold up-downs: one step, a step out of 0-255 is refused.
inline constexpr SUpDownRule kFuelThresholdRule{
    .step = 1, .min = 0, .max = 255, .format = "%.0f", .outOfRange = EOutOfRange::Refuse};
// "Ilość zatankowana do zbiornika": one litre per click; the sum is taken as an unsigned 32-bit
// number and anything above 150 becomes 150, so a step down from 0 lands on 150.
double steppedLitres(double litres, int clicks);
inline constexpr SUpDownRule kLitresRule{.step = 1, .min = 0, .max = 150, .format = "%.0f"};

} // namespace torva
