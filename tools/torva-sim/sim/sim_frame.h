#pragma once

#include <cstdint>
#include <vector>

namespace torva::sim {

// A request as the controller sees it once the frame has been checked and unscrambled.
struct SimRequest {
    std::uint8_t code = 0;
    std::uint16_t random = 0;
    std::vector<std::uint8_t> payload;

    // The query/action sub-code (byte 0 of a code-2 request) and its 16-bit argument.
    std::uint8_t subCode() const { return payload.empty() ? 0 : payload[0]; }
    std::uint16_t argument() const {
        return payload.size() < 4 ? 0 : static_cast<std::uint16_t>(payload[2] | (payload[3] << 8));
    }
};

// What the controller sends back, before random word, scrambling and checksum are added.
struct SimAnswer {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> payload;
    // The live-sample answer is the only one whose checksum leaves out the constant 1.
    bool liveSample = false;
};

} // namespace torva::sim
