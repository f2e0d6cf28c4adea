#include "config/maps/map_catalogue.h"

#include "config/device_type.h"
#include "config/rounding.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace torva {

namespace {

using enum EMapKind;
using enum EOfflineStep;

constexpr std::array<SMapInfo, kMapCount> kMaps{{
    {1, "CMapTime", Time, 1, Ignored, EBlock::TimeMap1, 0.0, 20.0},
    {2, "CMapEmu1", Emulation, 1, ShownOnly, EBlock::EmuMap1, -90.0, 90.0},
    {3, "CMapTime2", Time, 2, ShownOnly, EBlock::TimeMap2, 0.0, 20.0},
    {4, "CMapEmu2", Emulation, 2, ShownOnly, EBlock::EmuMap2, -90.0, 90.0},
    {5, "CMapTime3", Time, 3, Ignored, EBlock::TimeMap3, 0.0, 20.0},
    {6, "CMapEmu3", Emulation, 3, ShownOnly, EBlock::EmuMap3, -90.0, 30.0},
    {7, "CMapTime4", Time, 4, Ignored, EBlock::TimeMap4, 0.0, 20.0},
    {8, "CMapEmu4", Emulation, 4, ShownOnly, EBlock::EmuMap4, -90.0, 30.0},
    {9, "CMapTimeTPSDigital", Time, kTpsDigitalChannel, Ignored, EBlock::TimeMapTpsD, 0.0, 20.0},
    {10, "CMapEmuTPSDigital", Emulation, kTpsDigitalChannel, ShownOnly, EBlock::EmuMapTpsD, -70.0,
     30.0},
}};

constexpr std::array<MapValues CDeviceConfig::*, kMapCount> kMapMembers{
    &CDeviceConfig::m_mapTimeEmu1, &CDeviceConfig::m_mapEmu1,     &CDeviceConfig::m_mapTimeEmu2,
    &CDeviceConfig::m_mapEmu2,     &CDeviceConfig::m_mapTimeEmu3, &CDeviceConfig::m_mapEmu3,
    &CDeviceConfig::m_mapTimeEmu4, &CDeviceConfig::m_mapEmu4,     &CDeviceConfig::m_mapTimeEmuTpsD,
    &CDeviceConfig::m_mapEmuTpsD,
};

constexpr std::array<LoadAxis CDeviceConfig::*, 5> kAxisMembers{
    &CDeviceConfig::m_mapCoordinatesEmu1,    &CDeviceConfig::m_mapCoordinatesEmu2,
    &CDeviceConfig::m_mapCoordinatesEmu3,    &CDeviceConfig::m_mapCoordinatesEmu4,
    &CDeviceConfig::m_mapCoordinatesEmuTpsD,
};

constexpr std::array<EBlock, 5> kAxisBlocks{EBlock::Axes1Rpm, EBlock::Axis2, EBlock::Axis3,
                                            EBlock::Axis4, EBlock::AxisTpsD};

int channelIndex(int channel) {
    if (channel < 1 || channel > kTpsDigitalChannel)
        throw std::out_of_range("no emulator channel " + std::to_string(channel));
    return channel - 1;
}

std::string printed(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

const SMapInfo& mapInfo(int number) {
    if (number < 1 || number > kMapCount)
        throw std::out_of_range("no map " + std::to_string(number) + " (maps are 1-10)");
    return kMaps[number - 1];
}

bool mapExists(int number, std::uint8_t deviceType) {
    return mapInfo(number).channel != kTpsDigitalChannel || hasTpsDigitalMaps(deviceType);
}

MapValues& mapValues(CDeviceConfig& config, int number) {
    mapInfo(number);
    return config.*kMapMembers[number - 1];
}

const MapValues& mapValues(const CDeviceConfig& config, int number) {
    mapInfo(number);
    return config.*kMapMembers[number - 1];
}

LoadAxis& loadAxis(CDeviceConfig& config, int channel) {
    return config.*kAxisMembers[channelIndex(channel)];
}

const LoadAxis& loadAxis(const CDeviceConfig& config, int channel) {
    return config.*kAxisMembers[channelIndex(channel)];
}

EBlock loadAxisBlock(int channel) {
    return kAxisBlocks[channelIndex(channel)];
}

double unitsPerValue(EMapKind kind) {
    return kind == Time ? 10.0 : 1.0;
}

double toWireResolution(EMapKind kind, double value) {
    const double units = unitsPerValue(kind);
    return truncateTowardZero(value * units) / units;
}

double roundToMapUnit(EMapKind kind, double value) {
    const double units = unitsPerValue(kind);
    return round0(value * units) / units;
}

std::optional<double> typedCellValue(const SMapInfo& info, double typed) {
    const double value = roundToMapUnit(info.kind, typed);
    if (!(value >= info.valueMin && value <= info.valueMax))
        return std::nullopt;
    return value;
}

std::string formatMapValue(EMapKind kind, double value) {
    return printed(kind == Time ? "%.1f" : "%.0f", value);
}

bool loadAxisIsWhole(const CDeviceConfig& config, int channel) {
    return channel == kTpsDigitalChannel || (channel == 3 && config.tpsValuesAreRawCounts());
}

std::string formatLoadPoint(const CDeviceConfig& config, int channel, double value) {
    // Rounded half away from zero first, as every value of the record, so that 12.5 % and
    // 0.125 V read the same wherever they are shown.
    return loadAxisIsWhole(config, channel) ? printed("%.0f", round0(value))
                                            : printed("%.2f", round2(value));
}

std::string loadHeaderText(const CDeviceConfig& config, int channel, int row) {
    const LoadAxis& axis = loadAxis(config, channel);
    const double span = axis[kMapRows - 1] - axis[0];
    // An axis whose end points are equal has no span to count percent of: it shows its values.
    if (loadAxisIsWhole(config, channel) || (config.m_base.m_flags & kLoadPercentFlag) == 0 ||
        span == 0)
        return formatLoadPoint(config, channel, axis[row]);
    return printed("%.0f", round0((axis[row] - axis[0]) * 100 / span));
}

std::string formatRpmPoint(double rpm) {
    return printed("%.0f", rpm);
}

std::optional<double> parseTypedNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::string number(text);
    for (char& c : number) {
        if (c == ',')
            c = '.';
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc{} || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace torva
