#include "link/frame_codec.h"

namespace torva::frame {

namespace {

std::uint16_t rotl16(std::uint16_t v, unsigned k) {
    k &= 15;
    return k == 0 ? v : static_cast<std::uint16_t>((v << k) | (v >> (16 - k)));
}

std::uint16_t rotr16(std::uint16_t v, unsigned k) {
    k &= 15;
    return k == 0 ? v : static_cast<std::uint16_t>((v >> k) | (v << (16 - k)));
}

template <typename Rotate>
void rotateWords(std::uint8_t* payload, std::size_t count, std::uint16_t random, Rotate rotate) {
    const unsigned k = random & 0xF;
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        const auto word = static_cast<std::uint16_t>(payload[i] | (payload[i + 1] << 8));
        const std::uint16_t turned = rotate(word, k);
        payload[i] = static_cast<std::uint8_t>(turned & 0xFF);
        payload[i + 1] = static_cast<std::uint8_t>(turned >> 8);
    }
}

} // namespace

std::uint16_t checksum(std::uint16_t random, std::uint8_t code, std::uint8_t lengthByte,
                       const std::uint8_t* payload, std::size_t count, bool plusOne) {
    unsigned sum = (random & 0xFF) + (random >> 8) + code + lengthByte + (plusOne ? 1 : 0);
    for (std::size_t i = 0; i < count; ++i)
        sum += payload[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void scramble(std::uint8_t* payload, std::size_t count, std::uint16_t random) {
    rotateWords(payload, count, random, rotl16);
}

void unscramble(std::uint8_t* payload, std::size_t count, std::uint16_t random) {
    rotateWords(payload, count, random, rotr16);
}

std::vector<std::uint8_t> encode(std::uint8_t code, std::uint16_t random,
                                 const std::uint8_t* payload, std::size_t count, bool plusOne) {
    const auto lengthByte = static_cast<std::uint8_t>((count + 2) & 0xFF);
    const std::uint16_t sum = checksum(random, code, lengthByte, payload, count, plusOne);
    std::vector<std::uint8_t> out;
    out.reserve(count + 8);
    out.insert(out.end(),
               {kStart0, kStart1, lengthByte, code, static_cast<std::uint8_t>(random >> 8),
                static_cast<std::uint8_t>(random & 0xFF)});
    const std::size_t payloadAt = out.size();
    out.insert(out.end(), payload, payload + count);
    scramble(out.data() + payloadAt, count, random);
    out.push_back(static_cast<std::uint8_t>(sum >> 8));
    out.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return out;
}

} // namespace torva::frame
