#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace torva {

// The building blocks of the identifier cipher. They are public so that the controller simulator
// can encipher with exactly the same tables and key schedule the decipher uses.
namespace cipher {

using Sbox = std::array<std::uint8_t, 16>;
using Block = std::array<std::uint32_t, 4>;
using RoundKeys = std::array<Block, 33>;

// The eight published Serpent S-boxes S0..S7.
inline constexpr std::array<Sbox, 8> kSboxes{{
    {3, 8, 15, 1, 10, 6, 5, 11, 14, 13, 4, 2, 7, 0, 9, 12},
    {15, 12, 2, 7, 9, 0, 5, 10, 1, 11, 14, 8, 6, 13, 3, 4},
    {8, 6, 7, 9, 3, 12, 10, 15, 13, 1, 14, 4, 0, 11, 5, 2},
    {0, 15, 11, 8, 12, 9, 6, 3, 13, 1, 2, 4, 10, 7, 5, 14},
    {1, 15, 8, 3, 12, 0, 11, 6, 2, 5, 4, 10, 9, 14, 7, 13},
    {15, 5, 2, 11, 4, 10, 9, 12, 0, 3, 14, 8, 13, 6, 7, 1},
    {7, 2, 12, 5, 8, 4, 6, 11, 14, 9, 1, 15, 13, 3, 10, 0},
    {1, 13, 15, 0, 14, 8, 2, 11, 7, 4, 12, 10, 9, 3, 5, 6},
}};

constexpr std::array<Sbox, 8> invert(const std::array<Sbox, 8>& boxes) {
    std::array<Sbox, 8> inverse{};
    for (std::size_t b = 0; b < boxes.size(); ++b)
        for (std::uint8_t i = 0; i < 16; ++i)
            inverse[b][boxes[b][i]] = i;
    return inverse;
}

inline constexpr std::array<Sbox, 8> kInverseSboxes = invert(kSboxes);

// Replaces each of the word's eight 4-bit groups g by box[g], each group on its own.
std::uint32_t substitute(const Sbox& box, std::uint32_t word);
void substitute(const Sbox& box, Block& block);

// The 33 round keys from the first 32 characters of key (low byte of each; missing characters
// count as zero).
RoundKeys roundKeys(const std::string& key);

void addRoundKey(Block& block, const Block& roundKey);

// The low bytes of 16 characters as four little-endian words, and back.
Block loadBlock(const std::string& text);
std::string storeBlock(const Block& block);

// Serpent's inverse linear transformation.
void inverseLinearTransform(Block& block);

} // namespace cipher

// Deciphers the 16-byte identifier some controllers report.
class CCipher {
public:
    // The deciphered 16 characters, or an empty text when text is not exactly 16 characters long.
    // Only the low byte of each character of key and text counts.
    std::string decipher(const std::string& key, const std::string& text) const;
};

} // namespace torva
