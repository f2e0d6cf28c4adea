#include "sim/sim_cipher.h"

#include "link/cipher.h"

#include <bit>

namespace torva::sim {

namespace {

void linearTransform(cipher::Block& x) {
    x[0] = std::rotl(x[0], 13);
    x[2] = std::rotl(x[2], 3);
    x[1] = x[1] ^ x[0] ^ x[2];
    x[3] = x[3] ^ x[2] ^ (x[0] << 3);
    x[1] = std::rotl(x[1], 1);
    x[3] = std::rotl(x[3], 7);
    x[0] = x[0] ^ x[1] ^ x[3];
    x[2] = x[2] ^ x[3] ^ (x[1] << 7);
    x[0] = std::rotl(x[0], 5);
    x[2] = std::rotl(x[2], 22);
}

} // namespace

std::string encipher(const std::string& key, const std::string& text) {
    if (text.size() != 16)
        return {};
    const cipher::RoundKeys keys = cipher::roundKeys(key);
    cipher::Block x = cipher::loadBlock(text);
    for (std::size_t r = 0; r <= 30; ++r) {
        cipher::addRoundKey(x, keys[r]);
        cipher::substitute(cipher::kSboxes[r % 8], x);
        linearTransform(x);
    }
    cipher::addRoundKey(x, keys[31]);
    cipher::substitute(cipher::kSboxes[7], x);
    cipher::addRoundKey(x, keys[32]);
    return cipher::storeBlock(x);
}

} // namespace torva::sim
