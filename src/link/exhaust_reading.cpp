#include "link/exhaust_reading.h"

#include "config/block_image.h"

namespace torva {

namespace {

constexpr std::size_t kWordSize = 2;
constexpr std::size_t kKnockOffset = kThermocouples * kWordSize;
static_assert(kKnockOffset + kKnockInputs * kWordSize == kExhaustRecordSize);

constexpr double kKnockFullScaleVolts = 2.5;
constexpr double kKnockFullScaleCounts = 768.0;

} // namespace

SExhaustReading decodeExhaustRecord(const ExhaustRecord& record) {
    SExhaustReading reading;
    for (std::size_t i = 0; i < kThermocouples; ++i)
        reading.temperatures[i] = block_image::wordAt(record.data(), i * kWordSize);
    for (std::size_t i = 0; i < kKnockInputs; ++i)
        reading.knockLevels[i] = block_image::wordAt(record.data(), kKnockOffset + i * kWordSize);
    return reading;
}

double knockVolts(std::uint16_t level) {
    return level * kKnockFullScaleVolts / kKnockFullScaleCounts;
}

} // namespace torva
