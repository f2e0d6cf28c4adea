#include "link/exhaust_reading.h"

#include <gtest/gtest.h>

using namespace torva;

TEST(ExhaustReading, SplitsTheRecordIntoLittleEndianTemperaturesAndKnockLevels) {
    ExhaustRecord record{};
    for (std::size_t i = 0; i < kThermocouples; ++i) {
        const auto celsius = static_cast<std::uint16_t>(300 + 37 * i);
        record[2 * i] = static_cast<std::uint8_t>(celsius & 0xFF);
        record[2 * i + 1] = static_cast<std::uint8_t>(celsius >> 8);
    }
    record[32] = 0x00; // knock 1: 768
    record[33] = 0x03;
    record[46] = 0xFF; // knock 8: 65535
    record[47] = 0xFF;

    const SExhaustReading reading = decodeExhaustRecord(record);
    EXPECT_EQ(reading.temperatures[0], 300);
    EXPECT_EQ(reading.temperatures[15], 300 + 37 * 15);
    EXPECT_EQ(reading.knockLevels[0], 768);
    EXPECT_EQ(reading.knockLevels[1], 0);
    EXPECT_EQ(reading.knockLevels[7], 65535);
    EXPECT_DOUBLE_EQ(knockVolts(768), 2.5);
}
