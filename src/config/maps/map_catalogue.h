#pragma once

#include "config/block_table.h"
#include "config/device_config.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

// The ten maps by the number the map commands use: 1/2 time/emulation map of channel 1, 3/4
// channel 2, 5/6 channel 3, 7/8 channel 4, 9/10 the digital-TPS pair.
constexpr int kMapCount = 10;
constexpr int kTpsDigitalChannel = 5;

enum class EMapKind { Time, Emulation };

// What a step does while no controller is connected.
enum class EOfflineStep {
    Ignored,  // nothing changes
    ShownOnly // the cells change on screen; nothing is sent and the record keeps its values
};

struct SMapInfo {
    int number;
    const char* className; // names the map in error context lines
    EMapKind kind;
    int channel; // 1-4, or kTpsDigitalChannel
    EOfflineStep offline;
    EBlock block;
    double valueMin; // the range a page gives the grid
    double valueMax;
};

// Throws std::out_of_range for a number outside 1-10.
const SMapInfo& mapInfo(int number);
// Whether a controller of this type has the map (the digital-TPS pair only on types 25 and 37).
bool mapExists(int number, std::uint8_t deviceType);

MapValues& mapValues(CDeviceConfig& config, int number);
const MapValues& mapValues(const CDeviceConfig& config, int number);
// The channel's load axis.
LoadAxis& loadAxis(CDeviceConfig& config, int channel);
const LoadAxis& loadAxis(const CDeviceConfig& config, int channel);
// The block that carries the channel's load axis.
EBlock loadAxisBlock(int channel);

// Wire units per shown unit: tenths of a millisecond for time maps, whole percent otherwise.
double unitsPerValue(EMapKind kind);
// The value the controller holds for a shown value: truncated to a wire unit, with the
// tolerance the record's encoders use.
double toWireResolution(EMapKind kind, double value);
// The one rule for a cell typed by hand -- into a grid, pasted, "Set value...", a map file or
// torvactl set: rounded to the nearest wire unit (0.1 ms, 1 %), and kept only within the map's
// range. Settings files keep their own rule: truncated, within what the field holds.
double roundToMapUnit(EMapKind kind, double value);
std::optional<double> typedCellValue(const SMapInfo& info, double typed);
// "%.1f" for time maps, "%.0f" for emulation maps.
std::string formatMapValue(EMapKind kind, double value);

// Bit 1 of m_base.m_flags: load headers show percent of the axis span.
constexpr std::uint8_t kLoadPercentFlag = 0x02;
// Bit 4 of m_base.m_flags: the TPS channels 3 and 4 are coupled.
constexpr std::uint8_t kCoupledTpsFlag = 0x10;

// Whether the channel's load points are whole numbers on the page (raw counts): channel 3 with
// raw TPS values, and the digital TPS channel.
bool loadAxisIsWhole(const CDeviceConfig& config, int channel);
// The load point as a value: "%.2f" volts, or "%.0f" where the page shows whole numbers.
std::string formatLoadPoint(const CDeviceConfig& config, int channel, double value);
// The load header text of row r, the one text for it everywhere (both grids of a page, the
// header editor, `torvactl map show`): percent of the span when bit 1 of m_base.m_flags is
// set, except where the page shows whole numbers or the axis has no span.
std::string loadHeaderText(const CDeviceConfig& config, int channel, int row);
std::string formatRpmPoint(double rpm);

// A number typed into a grid or read from pasted or loaded text: surrounding blanks ignored, a
// decimal comma taken as a point, anything else in the text makes it no number.
std::optional<double> parseTypedNumber(std::string_view text);

} // namespace torva
