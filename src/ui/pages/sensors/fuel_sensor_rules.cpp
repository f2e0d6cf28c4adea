#include "ui/pages/sensors/fuel_sensor_rules.h"

#include "config/device_config.h"
#include "config/rounding.h"
#include "lang/source_text.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace torva {

namespace {

constexpr std::uint16_t kVirtualSensorFlag = 0x10; // m_tempomatFlags

struct SPresetRow {
    int type;
    SFuelSensorPreset preset;
};

// R4, R3, R2, R1 and the class of every type, offered or only recognised.
constexpr std::array<SPresetRow, 19> kPresets{{
    {0, {{90, 150, 195, 238}, 1}},   {1, {{45, 140, 180, 230}, 1}},  {2, {{60, 45, 30, 5}, 0}},
    {3, {{65, 50, 40, 20}, 0}},      {4, {{65, 55, 42, 30}, 0}},     {5, {{15, 25, 40, 85}, 0}},
    {6, {{30, 110, 140, 230}, 1}},   {7, {{70, 60, 40, 20}, 0}},     {8, {{8, 22, 35, 55}, 0}},
    {9, {{215, 180, 140, 45}, 1}},   {10, {{220, 170, 120, 70}, 2}}, {11, {{80, 60, 40, 20}, 0}},
    {12, {{110, 150, 190, 240}, 1}}, {13, {{200, 150, 100, 50}, 2}}, {14, {{180, 140, 100, 60}, 2}},
    {21, {{220, 170, 120, 70}, 2}},  {22, {{50, 109, 159, 200}, 1}}, {23, {{210, 170, 120, 75}, 2}},
    {24, {{50, 106, 158, 200}, 1}},
}};

// The order in which stored thresholds are matched against the rows; the first match wins.
constexpr std::array<int, 14> kRecognitionOrder{8, 5, 6, 1, 22, 24, 2, 4, 3, 7, 11, 0, 12, 9};

} // namespace

std::optional<SFuelSensorPreset> fuelSensorPreset(int type) {
    for (const SPresetRow& row : kPresets)
        if (row.type == type)
            return row.preset;
    return std::nullopt;
}

bool hasVirtualFuelSensor(std::int32_t firmwareVersion) {
    return firmwareVersion >= fuel_sensor::kVirtualVersion;
}

SValueList fuelSensorTypeList(std::int32_t firmwareVersion) {
    SValueList list{.items = {{PL("CPP"), 0},
                              {PL("AEB 1050"), 1},
                              {PL("10 - 90 Ohm (1090)"), 4},
                              {PL("OMB 0 90 Ohm"), 11},
                              {PL("CNG 201C"), 13},
                              {PL("CNG HTS 260"), 14}}};
    if (hasVirtualFuelSensor(firmwareVersion))
        list.items.push_back({PL("Wirtualny"), fuel_sensor::kVirtual});
    list.items.insert(list.items.end(), {{PL("AEB 806"), 22},
                                         {PL("AEB 807A"), 23},
                                         {PL("CB08P CNG"), 24},
                                         {PL("Napięciowy - CNG"), fuel_sensor::kVoltageCng}});
    return list;
}

SFuelThresholds fuelThresholds(const SSensorsSetup& sensors) {
    return {sensors.m_fuelFull, sensors.m_fuelHgw, sensors.m_fuelHalf, sensors.m_fuelQuarter};
}

void setFuelThresholds(SSensorsSetup& sensors, const SFuelThresholds& thresholds) {
    sensors.m_fuelFull = thresholds.full;
    sensors.m_fuelHgw = thresholds.hgw;
    sensors.m_fuelHalf = thresholds.half;
    sensors.m_fuelQuarter = thresholds.quarter;
    sensors.m_fuelType = thresholds.full < thresholds.quarter ? 1 : 0;
}

int recogniseFuelSensor(const CDeviceConfig& config) {
    const SSensorsSetup& sensors = config.m_sensorsSetup;
    const SFuelThresholds stored = fuelThresholds(sensors);
    int type = sensors.m_fuelRes == 1 ? fuel_sensor::kAeb1050 : fuel_sensor::kOhm1090;
    for (const int candidate : kRecognitionOrder)
        if (fuelSensorPreset(candidate)->thresholds == stored) {
            type = candidate;
            break;
        }
    if (sensors.m_fuelRes == 2) {
        if (stored == fuelSensorPreset(fuel_sensor::kCng201C)->thresholds)
            type = fuel_sensor::kCng201C;
        else if (stored == fuelSensorPreset(fuel_sensor::kCngHts260)->thresholds)
            type = fuel_sensor::kCngHts260;
        else
            type = fuel_sensor::kVoltageCng;
    }
    if (stored == fuelSensorPreset(23)->thresholds)
        type = 23;
    if (hasVirtualFuelSensor(config.m_devInfo.m_version) &&
        (config.m_tempomatSetup.m_tempomatFlags & kVirtualSensorFlag) != 0)
        type = fuel_sensor::kVirtual;
    return type;
}

std::optional<int> shownFuelSensor(const CDeviceConfig& config) {
    const int type = recogniseFuelSensor(config);
    if (type == fuel_sensor::kVirtual ||
        fuelSensorPreset(type)->thresholds == fuelThresholds(config.m_sensorsSetup))
        return type;
    return std::nullopt;
}

bool fuelSensorInBar(int type) {
    return type == fuel_sensor::kCng201C || type == fuel_sensor::kCngHts260;
}

void applyFuelSensorType(CDeviceConfig& config, int type) {
    const std::optional<SFuelSensorPreset> preset = fuelSensorPreset(type);
    if (!preset)
        return;
    setFuelThresholds(config.m_sensorsSetup, preset->thresholds);
    config.m_sensorsSetup.m_fuelRes = preset->fuelRes;
    if (!hasVirtualFuelSensor(config.m_devInfo.m_version))
        return;
    std::uint16_t& flags = config.m_tempomatSetup.m_tempomatFlags;
    flags = type == fuel_sensor::kVirtual ? (flags | kVirtualSensorFlag)
                                          : (flags & ~kVirtualSensorFlag);
}

namespace {

// A third of the way between two thresholds, half away from zero.
int thirdOfGap(int a, int b) {
    return static_cast<int>(round0(std::abs(a - b) / 3.0));
}

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace

SFuelThresholds fuelMinimumFromLevel(const SFuelThresholds& now, std::uint8_t level) {
    const int full = now.full;
    const int s = thirdOfGap(level, full);
    SFuelThresholds next = now;
    next.quarter = level;
    next.hgw = byte(full < level ? full + s : full - s);
    next.half = byte(full < level ? level - s : level + s);
    return next;
}

SFuelThresholds fuelMaximumFromLevel(const SFuelThresholds& now, std::uint8_t level) {
    const int quarter = now.quarter;
    const int s = thirdOfGap(quarter, level);
    SFuelThresholds next = now;
    next.full = level;
    next.hgw = byte(level < quarter ? level + s : level - s);
    next.half = byte(level < quarter ? quarter - s : quarter + s);
    return next;
}

int fuelLevelPercent(std::uint8_t raw, const SSensorsSetup& sensors) {
    SFuelThresholds t = fuelThresholds(sensors);
    if (sensors.m_fuelType == 1) {
        raw ^= 0xFF;
        t = {byte(t.full ^ 0xFF), byte(t.hgw ^ 0xFF), byte(t.half ^ 0xFF), byte(t.quarter ^ 0xFF)};
    }
    if (raw > t.full)
        return 80;
    if (raw > t.hgw)
        return 60;
    if (raw > t.half)
        return 40;
    if (raw > t.quarter)
        return 20;
    return 5;
}

std::string fuelValueText(std::uint8_t raw, int type) {
    char text[16];
    if (type == fuel_sensor::kCng201C)
        std::snprintf(text, sizeof text, "%.1f", raw * 0.8);
    else
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(raw));
    return text;
}

double steppedLitres(double litres, int clicks) {
    const std::uint32_t next =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(litres) + clicks);
    return next > 150 ? 150.0 : static_cast<double>(next);
}

} // namespace torva
