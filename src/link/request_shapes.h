#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torva::request {

// The request code of queries and actions; also the response code of every acknowledgement.
constexpr std::uint8_t kQueryCode = 0x02;
// Status byte 0 of a code-2 answer: the request was accepted.
constexpr std::uint8_t kStatusAccepted = 4;
// Status of the identification answer of a controller without a valid application.
constexpr std::uint8_t kStatusNoApplication = 5;

// Attempt limits.
constexpr int kDefaultAttempts = 15;
constexpr int kIdentifyAttempts = 4;
constexpr int kLoaderAttempts = 3;
constexpr int kSingleAttempt = 1;

// The 6-byte payload of a query or action: sub-code, 0, 16-bit little-endian argument, 0, 0.
std::vector<std::uint8_t> queryPayload(std::uint8_t subCode, std::uint16_t argument = 0);

} // namespace torva::request
