#include "link/cipher.h"

#include <bit>

namespace torva {
namespace cipher {

namespace {

constexpr std::uint32_t kGoldenRatio = 0x9E3779B9;
constexpr std::size_t kKeyWords = 8;
constexpr std::size_t kPreKeys = 140;

std::uint32_t littleEndianWord(const std::string& text, std::size_t at) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t pos = at + i;
        const auto byte = pos < text.size() ? static_cast<std::uint8_t>(text[pos]) : 0u;
        word |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return word;
}

} // namespace

std::uint32_t substitute(const Sbox& box, std::uint32_t word) {
    std::uint32_t out = 0;
    for (unsigned shift = 0; shift < 32; shift += 4)
        out |= static_cast<std::uint32_t>(box[(word >> shift) & 0xF]) << shift;
    return out;
}

void substitute(const Sbox& box, Block& block) {
    for (auto& word : block)
        word = substitute(box, word);
}

RoundKeys roundKeys(const std::string& key) {
    std::array<std::uint32_t, kPreKeys> w{};
    for (std::size_t i = 0; i < kKeyWords; ++i)
        w[i] = littleEndianWord(key, 4 * i);
    // Unlike Serpent, the pre-keys are not rotated and every word gets its own S-box.
    for (std::size_t i = kKeyWords; i < kPreKeys; ++i)
        w[i] = w[i - 8] ^ w[i - 5] ^ w[i - 3] ^ w[i - 1] ^ kGoldenRatio ^
               static_cast<std::uint32_t>(i - 8);
    for (std::size_t j = 0; j + kKeyWords < kPreKeys; ++j) {
        const std::size_t box = (8 * kPreKeys + 3 - j) % 8; // (3 - j) mod 8, kept non-negative
        w[kKeyWords + j] = substitute(kSboxes[box], w[kKeyWords + j]);
    }
    RoundKeys keys{};
    for (std::size_t r = 0; r < keys.size(); ++r)
        for (std::size_t i = 0; i < 4; ++i)
            keys[r][i] = w[kKeyWords + 4 * r + i];
    return keys;
}

void addRoundKey(Block& block, const Block& roundKey) {
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] ^= roundKey[i];
}

Block loadBlock(const std::string& text) {
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = littleEndianWord(text, 4 * i);
    return block;
}

std::string storeBlock(const Block& block) {
    std::string text;
    text.reserve(16);
    for (const auto word : block)
        for (unsigned shift = 0; shift < 32; shift += 8)
            text.push_back(static_cast<char>((word >> shift) & 0xFF));
    return text;
}

void inverseLinearTransform(Block& x) {
    x[2] = std::rotr(x[2], 22);
    x[0] = std::rotr(x[0], 5);
    x[2] = x[2] ^ x[3] ^ (x[1] << 7);
    x[0] = x[0] ^ x[1] ^ x[3];
    x[3] = std::rotr(x[3], 7);
    x[1] = std::rotr(x[1], 1);
    x[3] = x[3] ^ x[2] ^ (x[0] << 3);
    x[1] = x[1] ^ x[0] ^ x[2];
    x[2] = std::rotr(x[2], 3);
    x[0] = std::rotr(x[0], 13);
}

} // namespace cipher

std::string CCipher::decipher(const std::string& key, const std::string& text) const {
    if (text.size() != 16)
        return {};
    const cipher::RoundKeys keys = cipher::roundKeys(key);
    cipher::Block x = cipher::loadBlock(text);
    cipher::addRoundKey(x, keys[32]);
    cipher::substitute(cipher::kInverseSboxes[7], x);
    cipher::addRoundKey(x, keys[31]);
    for (int r = 30; r >= 0; --r) {
        cipher::inverseLinearTransform(x);
        cipher::substitute(cipher::kInverseSboxes[static_cast<std::size_t>(r) % 8], x);
        cipher::addRoundKey(x, keys[static_cast<std::size_t>(r)]);
    }
    return cipher::storeBlock(x);
}

} // namespace torva
