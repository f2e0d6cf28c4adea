#include "link/device_rig.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace torva;
using test::CRespondingSerial;
using test::SDeviceRig;
using test::SSeenRequest;
using Bytes = CRespondingSerial::Bytes;

namespace {

std::optional<Bytes> acknowledgeAll(const SSeenRequest&) {
    return CRespondingSerial::ack();
}

std::uint32_t addressOf(const SSeenRequest& request) {
    return static_cast<std::uint32_t>(request.payload[0] | request.payload[1] << 8 |
                                      request.payload[2] << 16 | request.payload[3] << 24);
}

// An image whose bytes tell their offsets apart.
Bytes testImage(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return image;
}

} // namespace

TEST(LPGDeviceProgramming, LoopSendsThreeOfEveryFourBytesAndErasesAtBlockStarts) {
    SDeviceRig rig(acknowledgeAll);
    // Ten whole frames after address 0x2000 and a partial eleventh.
    const Bytes image = testImage(2 * 0x2000 + 10 * 256 + 100);
    ASSERT_TRUE(rig.device->programImage(0xE000, 1024, image, 1000));

    std::vector<std::pair<std::uint8_t, std::uint32_t>> frames;
    for (const SSeenRequest& request : rig.requests())
        frames.emplace_back(request.code, addressOf(request));
    std::vector<std::pair<std::uint8_t, std::uint32_t>> expected;
    for (std::uint32_t address = 0x2000; address <= 0x2500; address += 128) {
        if (address % 1024 == 0)
            expected.emplace_back(0xF9, address);
        expected.emplace_back(0xF7, address);
    }
    EXPECT_EQ(frames, expected);

    for (const SSeenRequest& request : rig.requests()) {
        ASSERT_TRUE(request.checksumOk);
        if (request.code == 0xF9) {
            EXPECT_EQ(request.payload.size(), 4u);
            continue;
        }
        ASSERT_EQ(request.payload.size(), 196u);
        const std::size_t start = 2 * std::size_t{addressOf(request)};
        for (std::size_t group = 0; group < 64; ++group) {
            for (std::size_t i = 0; i < 3; ++i) {
                const std::size_t at = start + 4 * group + i;
                const std::uint8_t want = at < image.size() ? image[at] : 0;
                ASSERT_EQ(request.payload[4 + 3 * group + i], want) << "offset " << at;
            }
        }
    }
}

TEST(LPGDeviceProgramming, LoopStopsAtTheFrameCountTheFlashEndOrTheFirstFailure) {
    const Bytes image = testImage(0x10000);
    const auto framesSent = [](const SDeviceRig& rig) {
        return std::count_if(rig.requests().begin(), rig.requests().end(),
                             [](const SSeenRequest& r) { return r.code == 0xF7; });
    };
    {
        SDeviceRig rig(acknowledgeAll);
        ASSERT_TRUE(rig.device->programImage(0xE000, 2048, image, 3));
        EXPECT_EQ(framesSent(rig), 3);
    }
    {
        SDeviceRig rig(acknowledgeAll);
        ASSERT_TRUE(rig.device->programImage(0x2000 + 4 * 128, 2048, image, 1000));
        EXPECT_EQ(framesSent(rig), 4);
    }
    {
        int frames = 0;
        SDeviceRig rig([&frames](const SSeenRequest& request) {
            const bool refuse = request.code == 0xF7 && ++frames >= 3;
            return std::optional(CRespondingSerial::ack(refuse ? 0 : 4));
        });
        EXPECT_FALSE(rig.device->programImage(0xE000, 2048, image, 1000));
        EXPECT_EQ(framesSent(rig), 2 + 3); // the third frame tried three times, then no more
    }
}

TEST(LPGDeviceProgramming, LoaderCommandsGoOutEvenInDemoMode) {
    int leaveStatus = 4;
    SDeviceRig rig([&leaveStatus](const SSeenRequest& request) {
        return std::optional(CRespondingSerial::ack(request.subCode() == 96 ? leaveStatus : 4));
    });
    rig.device->setDemo(true);
    EXPECT_TRUE(rig.device->sendAccessCode());
    ASSERT_EQ(rig.requests().size(), 1u);
    EXPECT_EQ(rig.requests()[0].code, 0xF6);
    EXPECT_EQ(rig.requests()[0].payload, (Bytes{'Q', 'X', '3', '1', '8', '2', '7', '0'}));
    EXPECT_TRUE(rig.device->leaveLoader());
    EXPECT_TRUE(rig.device->resetAfterProgramming());
    EXPECT_EQ(rig.requests().size(), 3u);

    // Leaving the loader takes any code-2 answer as final; only status 4 is success.
    rig.serial->clearRequests();
    leaveStatus = 3;
    EXPECT_FALSE(rig.device->leaveLoader());
    EXPECT_EQ(rig.requests().size(), 1u);
}

TEST(LPGDeviceActions, MapCommandsUseEachMapsCodes) {
    SDeviceRig rig(acknowledgeAll);
    const std::vector<std::uint8_t> clearCodes{34, 35, 36, 37, 38, 39, 40, 42, 52, 53};
    const std::vector<std::uint8_t> completeCodes{26, 27, 28, 29, 30, 31, 32, 33, 50, 51};
    const std::vector<std::uint8_t> partCodes{21, 22, 23, 24, 25, 26, 27, 28, 37, 38};
    for (int map = 1; map <= 10; ++map) {
        rig.serial->clearRequests();
        ASSERT_TRUE(rig.device->clearMap(map));
        const std::array<std::uint8_t, 6> part{1, 2, 3, 4, 5, 6};
        ASSERT_TRUE(rig.device->writeMapPart(map, part));
        ASSERT_EQ(rig.requests().size(), 3u);
        EXPECT_EQ(rig.requests()[0].payload, (Bytes{clearCodes[map - 1], 0, 0, 0, 0, 0}));
        EXPECT_EQ(rig.requests()[1].payload, (Bytes{completeCodes[map - 1], 0, 0, 0, 0, 0}));
        EXPECT_EQ(rig.requests()[2].code, partCodes[map - 1]);
        EXPECT_EQ(rig.requests()[2].payload, (Bytes{1, 2, 3, 4, 5, 6}));
    }
    EXPECT_THROW(rig.device->clearMap(11), std::out_of_range);
}

TEST(LPGDeviceActions, RefusedClearIsStillCompletedButFails) {
    SDeviceRig rig([](const SSeenRequest& request) {
        return std::optional(CRespondingSerial::ack(request.subCode() == 34 ? 0 : 4));
    });
    EXPECT_FALSE(rig.device->clearMap(1));
    EXPECT_EQ(rig.requests().size(), 15u + 1u);
    EXPECT_EQ(rig.requests().back().subCode(), 26);

    // A refused partial write is not repeated.
    SDeviceRig refusing(
        [](const SSeenRequest&) { return std::optional(CRespondingSerial::ack(0)); });
    EXPECT_FALSE(refusing.device->writeMapPart(2, std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(refusing.requests().size(), 1u);
}

TEST(LPGDeviceQueries, CorrelationTableTravelsInThirtyTwoChunks) {
    int refuseChunk = -1;
    int written = 0;
    CorrelationTable stored{};
    SDeviceRig rig([&](const SSeenRequest& request) -> std::optional<Bytes> {
        if (request.code == 43) {
            const std::size_t first = request.payload[0] | request.payload[1] << 8;
            if (static_cast<int>(first) == refuseChunk)
                return CRespondingSerial::ack(0);
            for (std::size_t i = 0; i < 32; ++i)
                stored[first + i] = static_cast<std::uint16_t>(request.payload[2 + 2 * i] |
                                                               request.payload[3 + 2 * i] << 8);
            ++written;
            return CRespondingSerial::ack();
        }
        if (request.subCode() != 59)
            return std::nullopt;
        const std::uint16_t first = request.argument();
        if (first == refuseChunk)
            return CRespondingSerial::answer(44, {});
        Bytes chunk{static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(first >> 8)};
        for (std::size_t i = 0; i < 32; ++i) {
            const auto value = static_cast<std::uint16_t>((first + i) * 3);
            chunk.push_back(static_cast<std::uint8_t>(value));
            chunk.push_back(static_cast<std::uint8_t>(value >> 8));
        }
        return CRespondingSerial::answer(43, chunk);
    });

    CorrelationTable table{};
    ASSERT_TRUE(rig.device->readCorrelationTable(table));
    EXPECT_EQ(rig.requests().size(), 32u);
    for (std::size_t i = 0; i < table.size(); ++i)
        ASSERT_EQ(table[i], i * 3);

    ASSERT_TRUE(rig.device->writeCorrelationTable(table));
    EXPECT_EQ(stored, table);
    EXPECT_EQ(written, 32);

    // A chunk that never arrives leaves the table as it was; one that is refused ends the write.
    refuseChunk = 160;
    CorrelationTable untouched{};
    untouched.fill(9);
    CorrelationTable reading = untouched;
    EXPECT_FALSE(rig.device->readCorrelationTable(reading));
    EXPECT_EQ(reading, untouched);
    rig.serial->clearRequests();
    EXPECT_FALSE(rig.device->writeCorrelationTable(table));
    EXPECT_EQ(rig.requests().size(), 5u + 15u);
}

TEST(LPGDeviceQueries, CapturePageAndRecordsComeFromTheirAnswers) {
    SDeviceRig rig([](const SSeenRequest& request) -> std::optional<Bytes> {
        switch (request.subCode()) {
        case 58: {
            Bytes page(192);
            for (std::size_t i = 0; i < 96; ++i) {
                page[2 * i] = static_cast<std::uint8_t>(i + request.argument());
                page[2 * i + 1] = 1;
            }
            return CRespondingSerial::answer(42, page);
        }
        case 17:
            return CRespondingSerial::answer(12, Bytes{1, 0, 0, 0, 0, 1, 0, 0, 7, 0});
        default:
            return std::nullopt;
        }
    });
    SCapturePage page;
    ASSERT_TRUE(rig.device->readCapturePage(2, page));
    EXPECT_EQ(rig.requests().back().argument(), 2);
    EXPECT_EQ(page.rpmEdges[0], 0x0102);
    EXPECT_EQ(page.camshaftEdges[0], 0x0100 + 48 + 2);

    ASSERT_TRUE(rig.device->readStatistics());
    EXPECT_EQ(rig.device->config().m_devInfo.m_statistic, (SStatistic{1, 0x100, 7}));

    // Unanswered reads leave the caller's records alone.
    ErrorStatus status{9, 9, 9, 9};
    EXPECT_FALSE(rig.device->readErrorStatus(status));
    EXPECT_EQ(status, (ErrorStatus{9, 9, 9, 9}));
}
