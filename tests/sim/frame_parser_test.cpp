#include "sim/frame_parser.h"

#include "link/frame_codec.h"

#include <gtest/gtest.h>

using namespace torva;
using namespace torva::sim;

namespace {

// The worked example: command 2, payload 07 00 00 00 00 00, random word 0x1234.
const std::vector<std::uint8_t> kWorkedExample{0xAA, 0x55, 0x08, 0x02, 0x12, 0x34, 0x70,
                                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58};

std::vector<std::uint8_t> feedAll(CFrameParser& parser, const std::vector<std::uint8_t>& bytes) {
    parser.feed(bytes.data(), bytes.size());
    std::vector<std::uint8_t> codes;
    while (auto request = parser.next())
        codes.push_back(request->code);
    return codes;
}

} // namespace

TEST(FrameParser, ReadsTheWorkedExample) {
    CFrameParser parser;
    parser.feed(kWorkedExample.data(), kWorkedExample.size());
    const auto request = parser.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->code, 0x02);
    EXPECT_EQ(request->random, 0x1234);
    EXPECT_EQ(request->payload, (std::vector<std::uint8_t>{0x07, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(parser.next());
    EXPECT_FALSE(parser.hasPartial());
}

TEST(FrameParser, DropsABadChecksumAndKeepsTheNextFrame) {
    CFrameParser parser;
    // The sum without the constant 1: a controller rejects it.
    std::vector<std::uint8_t> stream{0xAA, 0x55, 0x08, 0x02, 0x12, 0x34, 0x70,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x57};
    stream.insert(stream.end(), kWorkedExample.begin(), kWorkedExample.end());
    EXPECT_EQ(feedAll(parser, stream), std::vector<std::uint8_t>{0x02});
    EXPECT_EQ(parser.rejectedFrames(), 1u);
}

TEST(FrameParser, FindsAFrameBehindNoiseAndAcrossPieces) {
    CFrameParser parser;
    std::vector<std::uint8_t> stream{0x00, 0xAA, 0x13, 0x55};
    stream.insert(stream.end(), kWorkedExample.begin(), kWorkedExample.end());
    const std::vector<std::uint8_t> first(stream.begin(), stream.begin() + 9);
    const std::vector<std::uint8_t> rest(stream.begin() + 9, stream.end());
    EXPECT_TRUE(feedAll(parser, first).empty());
    EXPECT_TRUE(parser.hasPartial());
    EXPECT_EQ(feedAll(parser, rest), std::vector<std::uint8_t>{0x02});
}

TEST(FrameParser, TakesOddPayloadsAndEveryRotation) {
    for (std::uint16_t random : {0x0000, 0x0007, 0x000F, 0x7FFA}) {
        const std::vector<std::uint8_t> payload{1, 2, 3, 4, 5, 6, 0xFF};
        const auto bytes = frame::encode(0x2B, random, payload.data(), payload.size());
        CFrameParser parser;
        parser.feed(bytes.data(), bytes.size());
        const auto request = parser.next();
        ASSERT_TRUE(request) << random;
        EXPECT_EQ(request->payload, payload);
    }
}
