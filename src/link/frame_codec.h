#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torva {

// The byte-level rules of a frame, shared by both ends of the link: the PC's exchange and the
// controller simulator. A frame is AA 55, length (payload + 2), code, random word R (big-endian),
// the payload scrambled with k = R & 0xF, and a big-endian 16-bit checksum.
namespace frame {

constexpr std::uint8_t kStart0 = 0xAA;
constexpr std::uint8_t kStart1 = 0x55;
constexpr std::size_t kHeaderSize = 4;   // AA 55 length code
constexpr std::size_t kBufferSize = 410; // the exchange buffer every caller owns
constexpr std::size_t kMaxPayload = 253; // the length byte counts payload + 2

// 16-bit sum of R's two bytes, the code, the length byte, the plain payload bytes, and 1 when
// plusOne is set (every frame but the controller's live-sample answer, which omits it).
std::uint16_t checksum(std::uint16_t random, std::uint8_t code, std::uint8_t lengthByte,
                       const std::uint8_t* payload, std::size_t count, bool plusOne = true);

// Rotates each little-endian 16-bit word of the payload left (scramble) or right (unscramble)
// by k = random & 0xF bits. An odd last byte stays as it is.
void scramble(std::uint8_t* payload, std::size_t count, std::uint16_t random);
void unscramble(std::uint8_t* payload, std::size_t count, std::uint16_t random);

// A whole frame with its checksum computed over the plain payload, then the payload scrambled.
std::vector<std::uint8_t> encode(std::uint8_t code, std::uint16_t random,
                                 const std::uint8_t* payload, std::size_t count,
                                 bool plusOne = true);

} // namespace frame
} // namespace torva
