#pragma once

#include <cstddef>
#include <cstdint>

// Little-endian fields inside a block image. Callers guarantee the image holds the whole block.
namespace torva::block_image {

inline std::uint8_t byteAt(const std::uint8_t* image, std::size_t offset) {
    return image[offset];
}

inline std::uint16_t wordAt(const std::uint8_t* image, std::size_t offset) {
    return static_cast<std::uint16_t>(image[offset] | image[offset + 1] << 8);
}

inline std::uint32_t dwordAt(const std::uint8_t* image, std::size_t offset) {
    return static_cast<std::uint32_t>(image[offset]) |
           static_cast<std::uint32_t>(image[offset + 1]) << 8 |
           static_cast<std::uint32_t>(image[offset + 2]) << 16 |
           static_cast<std::uint32_t>(image[offset + 3]) << 24;
}

inline void putByte(std::uint8_t* image, std::size_t offset, std::uint8_t value) {
    image[offset] = value;
}

inline void putWord(std::uint8_t* image, std::size_t offset, std::uint16_t value) {
    image[offset] = static_cast<std::uint8_t>(value);
    image[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putDword(std::uint8_t* image, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace torva::block_image
