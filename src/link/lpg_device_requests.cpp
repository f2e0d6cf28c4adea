#include "link/lpg_device.h"

#include "link/request_shapes.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace torva {

namespace request {

std::vector<std::uint8_t> queryPayload(std::uint8_t subCode, std::uint16_t argument) {
    return {subCode,
            0,
            static_cast<std::uint8_t>(argument & 0xFF),
            static_cast<std::uint8_t>(argument >> 8),
            0,
            0};
}

} // namespace request

bool CLPGDevice::request(std::uint8_t code, const PayloadBuilder& build, int attempts,
                         const AnswerCheck& accept, SAnswer& answer) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // transact scrambles the payload in place, so every attempt starts from a fresh one.
        const std::vector<std::uint8_t> payload = build();
        if (payload.size() > frame::kMaxPayload)
            throw std::length_error("CLPGDevice::request() - payload of " +
                                    std::to_string(payload.size()) + " bytes for code " +
                                    std::to_string(code));
        std::copy(payload.begin(), payload.end(), answer.bytes.begin());
        std::uint8_t command = code;
        auto length = static_cast<std::uint8_t>(payload.size());
        if (!transact(command, answer.bytes.data(), length))
            continue;
        answer.code = command;
        answer.length = length;
        if (accept(answer))
            return true;
    }
    return false;
}

bool CLPGDevice::query(std::uint8_t subCode, std::uint16_t argument, std::uint8_t responseCode,
                       int attempts, SAnswer& answer) {
    return request(
        request::kQueryCode, [=] { return request::queryPayload(subCode, argument); }, attempts,
        [responseCode](const SAnswer& got) { return got.code == responseCode; }, answer);
}

bool CLPGDevice::queryRecord(std::uint8_t subCode, std::uint8_t responseCode,
                             std::span<std::uint8_t> out, std::uint16_t argument) {
    SAnswer answer;
    if (!query(subCode, argument, responseCode, request::kDefaultAttempts, answer))
        return false;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = answer.at(i);
    return true;
}

bool CLPGDevice::action(std::uint8_t subCode, std::uint16_t argument, EReply reply, int attempts) {
    SAnswer answer;
    return request(
        request::kQueryCode, [=] { return request::queryPayload(subCode, argument); }, attempts,
        [reply](const SAnswer& got) {
            if (got.code != request::kQueryCode)
                return false;
            return reply == EReply::AnyCode2 || got.at(0) == request::kStatusAccepted;
        },
        answer);
}

bool CLPGDevice::writeAcked(std::uint8_t code, const PayloadBuilder& build, int attempts) {
    SAnswer answer;
    return request(
        code, build, attempts,
        [](const SAnswer& got) {
            return got.code == request::kQueryCode && got.at(0) == request::kStatusAccepted;
        },
        answer);
}

} // namespace torva
