#pragma once

#include "link/device_records.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace torva {

// The exhaust-temperature record in its parts: 16 thermocouple temperatures in whole degrees
// Celsius, then 8 knock-sensor levels in ADC counts, each an unsigned little-endian 16-bit word.
constexpr std::size_t kThermocouples = 16;
constexpr std::size_t kKnockInputs = 8;
struct SExhaustReading {
    std::array<std::uint16_t, kThermocouples> temperatures{};
    std::array<std::uint16_t, kKnockInputs> knockLevels{};

    bool operator==(const SExhaustReading&) const = default;
};

SExhaustReading decodeExhaustRecord(const ExhaustRecord& record);

// A knock level in volts: full scale 768 counts = 2.5 V.
double knockVolts(std::uint16_t level);

} // namespace torva
