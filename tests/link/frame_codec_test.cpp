#include "link/frame_codec.h"

#include <gtest/gtest.h>

#include <array>

using namespace torva;

TEST(FrameCodec, EncodesTheWorkedExampleByteForByte) {
    const std::array<std::uint8_t, 6> payload{0x07, 0, 0, 0, 0, 0};
    const auto bytes = frame::encode(0x02, 0x1234, payload.data(), payload.size());
    const std::vector<std::uint8_t> expected{0xAA, 0x55, 0x08, 0x02, 0x12, 0x34, 0x70,
                                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58};
    EXPECT_EQ(bytes, expected);
}

TEST(FrameCodec, ScrambleRoundTripsAndLeavesOddLastByteAlone) {
    for (std::uint16_t random : {0x0000, 0x0001, 0x000F, 0x7FF5}) {
        std::array<std::uint8_t, 5> data{0x81, 0x42, 0xFF, 0x00, 0x99};
        const auto original = data;
        frame::scramble(data.data(), data.size(), random);
        EXPECT_EQ(data[4], 0x99);
        if ((random & 0xF) == 0) {
            EXPECT_EQ(data, original);
        }
        frame::unscramble(data.data(), data.size(), random);
        EXPECT_EQ(data, original);
    }
}

TEST(FrameCodec, ChecksumCountsTheOddLastByteAndTheConstantOne) {
    const std::array<std::uint8_t, 3> payload{1, 2, 0xFF};
    const auto with = frame::checksum(0x0102, 9, 5, payload.data(), payload.size());
    const auto without = frame::checksum(0x0102, 9, 5, payload.data(), payload.size(), false);
    EXPECT_EQ(with, 0x02 + 0x01 + 9 + 5 + 1 + 2 + 0xFF + 1);
    EXPECT_EQ(with - without, 1);
}
