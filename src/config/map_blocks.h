#pragma once

#include "config/device_config.h"

#include <cstdint>

// Codecs of the map and axis blocks. Images hold at least the block's size; block_codec.h is the
// public entry point.
namespace torva::map_blocks {

// Time maps: tenths of a millisecond per byte (written truncated).
void decodeTimeMap(const std::uint8_t* image, MapValues& map);
void encodeTimeMap(const MapValues& map, std::uint8_t* image);

// Emulation maps: the byte less 100 (written truncated).
void decodeEmulationMap(const std::uint8_t* image, MapValues& map);
void encodeEmulationMap(const MapValues& map, std::uint8_t* image);

// The 16 load points as little-endian words: ADC counts shown in volts with the given scale, or
// (rawCounts) the counts themselves.
void decodeLoadAxis(const std::uint8_t* image, LoadAxis& axis, double scale, bool rawCounts);
void encodeLoadAxis(const LoadAxis& axis, std::uint8_t* image, double scale, bool rawCounts);

// The RPM axis: 15 bytes in hundreds of rpm (written truncated) and one zero byte.
void decodeRpmAxis(const std::uint8_t* image, RpmAxis& axis);
void encodeRpmAxis(const RpmAxis& axis, std::uint8_t* image);

} // namespace torva::map_blocks
