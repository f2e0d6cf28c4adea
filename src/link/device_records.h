#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace torva {

// Records the controller answers with, apart from the configuration blocks and the identity.

// The four fault bytes, one per fault module 0-3.
using ErrorStatus = std::array<std::uint8_t, 4>;
// The error record of model 37 and the extended error record (modules 4-7 in bytes 0-3).
using ErrorRecord = std::array<std::uint8_t, 8>;
// The three 32-bit counters shown on the readings page.
using DeviceCounters = std::array<std::uint32_t, 3>;
// The exhaust-temperature record, as it comes.
constexpr std::size_t kExhaustRecordSize = 48;
using ExhaustRecord = std::array<std::uint8_t, kExhaustRecordSize>;

// One of the four pages of captured sequence signals: edge times, 16 bits each.
constexpr int kCapturePages = 4;
constexpr std::size_t kCaptureEdges = 48;
struct SCapturePage {
    std::array<std::uint16_t, kCaptureEdges> rpmEdges{};
    std::array<std::uint16_t, kCaptureEdges> camshaftEdges{};

    bool operator==(const SCapturePage&) const = default;
};

// The TPS correlation table, carried in chunks of 32 entries.
constexpr std::size_t kCorrelationEntries = 1024;
constexpr std::size_t kCorrelationChunkEntries = 32;
using CorrelationTable = std::array<std::uint16_t, kCorrelationEntries>;

// The programming frame: 64 three-byte groups kept from 256 image bytes.
constexpr std::size_t kFlashFrameSize = 192;
using FlashFrame = std::array<std::uint8_t, kFlashFrameSize>;

} // namespace torva
