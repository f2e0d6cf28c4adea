#include "config/map_blocks.h"

#include "config/block_image.h"
#include "config/conversions.h"
#include "config/rounding.h"

namespace torva::map_blocks {

using namespace block_image;

namespace {

constexpr double kEmulationOffset = 100.0;
constexpr double kRpmAxisStep = 100.0;

template <typename Decode>
void decodeMap(const std::uint8_t* image, MapValues& map, Decode decode) {
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            map[row][column] = decode(byteAt(image, row * kMapColumns + column));
        }
    }
}

template <typename Encode>
void encodeMap(const MapValues& map, std::uint8_t* image, Encode encode) {
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            putByte(image, row * kMapColumns + column, encode(map[row][column]));
        }
    }
}

} // namespace

void decodeTimeMap(const std::uint8_t* image, MapValues& map) {
    decodeMap(image, map, [](std::uint8_t raw) { return raw * 0.1; });
}

void encodeTimeMap(const MapValues& map, std::uint8_t* image) {
    encodeMap(map, image, [](double ms) { return toByte(truncateTowardZero(ms * 10.0)); });
}

void decodeEmulationMap(const std::uint8_t* image, MapValues& map) {
    decodeMap(image, map, [](std::uint8_t raw) { return raw - kEmulationOffset; });
}

void encodeEmulationMap(const MapValues& map, std::uint8_t* image) {
    encodeMap(map, image,
              [](double value) { return toByte(truncateTowardZero(value + kEmulationOffset)); });
}

void decodeLoadAxis(const std::uint8_t* image, LoadAxis& axis, double scale, bool rawCounts) {
    for (int point = 0; point < kMapRows; ++point) {
        const std::uint16_t count = wordAt(image, 2 * point);
        axis[point] = rawCounts ? count : adcVolts(count, scale);
    }
}

void encodeLoadAxis(const LoadAxis& axis, std::uint8_t* image, double scale, bool rawCounts) {
    for (int point = 0; point < kMapRows; ++point) {
        const double value = axis[point];
        putWord(image, 2 * point, rawCounts ? toWord(round0(value)) : adcCount(value, scale));
    }
}

void decodeRpmAxis(const std::uint8_t* image, RpmAxis& axis) {
    for (int point = 0; point < kMapColumns; ++point) {
        axis[point] = byteAt(image, point) * kRpmAxisStep;
    }
}

void encodeRpmAxis(const RpmAxis& axis, std::uint8_t* image) {
    for (int point = 0; point < kMapColumns; ++point) {
        putByte(image, point, toByte(truncateTowardZero(axis[point] / kRpmAxisStep)));
    }
    putByte(image, kMapColumns, 0);
}

} // namespace torva::map_blocks
