#include "link/frame_codec.h"
#include "link/lpg_device.h"
#include "link/rs_error.h"
#include "support/fake_clock.h"
#include "support/scripted_serial.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace torva;
using test::CScriptedSerial;
using Bytes = std::vector<std::uint8_t>;
using ECall = CScriptedSerial::ECall;

namespace {

const Bytes kLiveRequest{0x07, 0, 0, 0, 0, 0};

// A device on a scripted channel whose request frames carry a chosen random word.
struct SExchangeRig {
    explicit SExchangeRig(std::uint16_t random = 0x1234) {
        auto io = std::make_unique<CScriptedSerial>();
        serial = io.get();
        device = std::make_unique<CLPGDevice>(std::move(io));
        device->setRandomSource([random] { return random; });
        buffer.fill(0xEE);
    }

    // Puts the request payload into the exchange buffer.
    void request(const Bytes& payload) {
        std::copy(payload.begin(), payload.end(), buffer.begin());
    }
    // The live-sample query through the usual or the strict exchange; command and length
    // receive what the exchange leaves in them.
    bool transactLive() {
        request(kLiveRequest);
        command = 0x02;
        length = 6;
        return device->transact(command, buffer.data(), length);
    }
    int transactLiveStrict() {
        request(kLiveRequest);
        command = 0x02;
        length = 6;
        return device->transactStrict(command, buffer.data(), length);
    }

    test::CFakeClock clock;
    CScriptedSerial* serial = nullptr;
    std::unique_ptr<CLPGDevice> device;
    std::array<std::uint8_t, CLPGDevice::kExchangeBufferSize> buffer{};
    std::uint8_t command = 0;
    std::uint8_t length = 0;
};

Bytes answer(std::uint8_t code, std::uint16_t random, const Bytes& payload, bool plusOne = true) {
    return frame::encode(code, random, payload.data(), payload.size(), plusOne);
}

} // namespace

TEST(LPGDeviceExchange, SendsTheWorkedExampleAndReturnsTheUnscrambledAnswer) {
    SExchangeRig rig;
    const Bytes reply{0x04, 0x11, 0x22, 0x33, 0x44};
    const Bytes frame = answer(0x02, 0x2A57, reply);
    rig.serial->addReply(frame);
    ASSERT_TRUE(rig.transactLive());

    const Bytes expected{0xAA, 0x55, 0x08, 0x02, 0x12, 0x34, 0x70,
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58};
    EXPECT_EQ(rig.serial->written(), expected);
    // Header, random word, payload, then stale input dropped just before the checksum.
    const std::vector<CScriptedSerial::SCall> sending(rig.serial->calls().begin(),
                                                      rig.serial->calls().begin() + 5);
    EXPECT_EQ(sending, (std::vector<CScriptedSerial::SCall>{{ECall::Write, 4},
                                                            {ECall::Write, 2},
                                                            {ECall::Write, 6},
                                                            {ECall::Purge, 0},
                                                            {ECall::Write, 2}}));
    EXPECT_EQ(rig.command, 0x02);
    EXPECT_EQ(rig.length, 5);
    // Payload, its two checksum bytes as received, zeros up to the end of the buffer.
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), rig.buffer.begin()));
    EXPECT_EQ(rig.buffer[5], frame[frame.size() - 2]);
    EXPECT_EQ(rig.buffer[6], frame[frame.size() - 1]);
    EXPECT_TRUE(
        std::all_of(rig.buffer.begin() + 7, rig.buffer.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(rig.clock.sleptMs(), 0);
}

TEST(LPGDeviceExchange, ScramblesOddPayloadsAndLeavesRotationZeroAlone) {
    {
        SExchangeRig rig(0x0003);
        rig.request({0x81, 0x42, 0x99});
        std::uint8_t command = 0x05;
        std::uint8_t length = 3;
        EXPECT_FALSE(rig.device->transact(command, rig.buffer.data(), length));
        // 0x4281 rotated left by 3 is 0x140A; the odd last byte travels as it is but counts in
        // the checksum: 03 + 00 + 05 + 05 + 81 + 42 + 99 + 1 = 0x016A.
        EXPECT_EQ(rig.serial->written(),
                  (Bytes{0xAA, 0x55, 0x05, 0x05, 0x00, 0x03, 0x0A, 0x14, 0x99, 0x01, 0x6A}));
    }
    {
        SExchangeRig rig(0x7FF0);
        rig.request({1, 2, 3, 4});
        std::uint8_t command = 0x21;
        std::uint8_t length = 4;
        EXPECT_FALSE(rig.device->transact(command, rig.buffer.data(), length));
        const Bytes sent = rig.serial->written();
        EXPECT_EQ(Bytes(sent.begin() + 6, sent.begin() + 10), (Bytes{1, 2, 3, 4}));
    }
}

TEST(LPGDeviceExchange, FindsTheFrameStartAfterNoise) {
    SExchangeRig rig;
    const Bytes reply{0x04, 0, 0, 0, 0, 9};
    Bytes noisy{0x00};
    const Bytes frame = answer(0x02, 0x0101, reply);
    noisy.insert(noisy.end(), frame.begin(), frame.end());
    rig.serial->addReply(noisy);
    ASSERT_TRUE(rig.transactLive());
    EXPECT_EQ(rig.length, 6);
    EXPECT_EQ(rig.buffer[5], 9);
    // 00 AA 55 08 was read; the header was completed with one more byte.
    const auto reads = rig.serial->callsOf(ECall::Read);
    ASSERT_GE(reads.size(), 2u);
    EXPECT_EQ(reads[1].count, 1u);
}

TEST(LPGDeviceExchange, WaitsOnlyAfterAMissingHeader) {
    struct SCase {
        const char* what;
        Bytes reply;
        int slept;
    };
    const std::vector<SCase> cases{
        {"nothing", {}, 131},
        {"three bytes", {0xAA, 0x55, 0x08}, 131},
        {"four bytes without AA", {0x01, 0x55, 0x08, 0x02}, 131},
        {"AA late, header never completed", {0x01, 0x02, 0x03, 0xAA}, 131},
        {"header without random word", {0xAA, 0x55, 0x08, 0x02, 0x12}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SExchangeRig rig;
        rig.serial->addReply(c.reply);
        EXPECT_FALSE(rig.transactLive());
        EXPECT_EQ(rig.clock.sleptMs(), c.slept);
        EXPECT_EQ(rig.command, 0x02);
        EXPECT_EQ(rig.length, 6);
    }
}

TEST(LPGDeviceExchange, ReadsAPayloadSplitByAGapOnceMore) {
    const Bytes frame = answer(0x02, 0x0005, {4, 1, 2, 3, 4, 5, 6, 7});
    {
        SExchangeRig rig;
        rig.serial->addReply(Bytes(frame.begin(), frame.begin() + 9));
        rig.serial->addReply(Bytes(frame.begin() + 9, frame.end()));
        ASSERT_TRUE(rig.transactLive());
        EXPECT_EQ(rig.length, 8);
        EXPECT_EQ(rig.buffer[7], 7);
        EXPECT_EQ(rig.clock.sleptMs(), 50);
    }
    {
        // Still short after the second read: rejected.
        SExchangeRig rig;
        rig.serial->addReply(Bytes(frame.begin(), frame.begin() + 9));
        rig.serial->addReply(Bytes(frame.begin() + 9, frame.end() - 1));
        EXPECT_FALSE(rig.transactLive());
    }
}

TEST(LPGDeviceExchange, StrictExchangeChecksumHasNoConstantOne) {
    const Bytes sample{9, 8, 7, 6, 5, 4, 3};
    {
        SExchangeRig rig;
        rig.serial->addReply(answer(34, 0x3ABC, sample, false));
        EXPECT_FALSE(rig.transactLive());
    }
    {
        SExchangeRig rig;
        rig.serial->addReply(answer(34, 0x3ABC, sample, false));
        ASSERT_EQ(rig.transactLiveStrict(), CLPGDevice::kStrictOk);
        EXPECT_EQ(rig.command, 34);
        EXPECT_EQ(rig.length, sample.size() + 2); // the length byte itself
        EXPECT_TRUE(std::equal(sample.begin(), sample.end(), rig.buffer.begin()));
        // The request still carries the constant 1, and stale input is dropped twice.
        EXPECT_EQ(rig.serial->written().back(), 0x58);
        EXPECT_EQ(rig.serial->calls().front().kind, ECall::Purge);
        EXPECT_EQ(rig.serial->callsOf(ECall::Purge).size(), 2u);
    }
    {
        SExchangeRig rig;
        rig.serial->addReply(answer(34, 0x3ABC, sample, true));
        EXPECT_EQ(rig.transactLiveStrict(), CLPGDevice::kStrictFailed);
    }
}

TEST(LPGDeviceExchange, StrictExchangeNeitherWaitsNorReadsTwice) {
    const Bytes frame = answer(34, 0x0101, {1, 2, 3, 4}, false);
    const std::vector<std::vector<Bytes>> scripts{
        {{0x01, 0x02, 0x03, 0x04}},
        {{0xAA, 0x55}},
        {Bytes(frame.begin(), frame.begin() + 8), Bytes(frame.begin() + 8, frame.end())},
    };
    for (const auto& script : scripts) {
        SExchangeRig rig;
        for (const auto& burst : script)
            rig.serial->addReply(burst);
        EXPECT_EQ(rig.transactLiveStrict(), CLPGDevice::kStrictFailed);
        EXPECT_EQ(rig.clock.sleptMs(), 0);
        EXPECT_LE(rig.serial->callsOf(ECall::Read).size(), 3u);
    }
}

TEST(LPGDeviceExchange, RejectsFramesWithoutRoomForTheChecksum) {
    const std::vector<Bytes> replies{
        {0xAA, 0x55, 0x00, 0x02, 0x00, 0x01},
        {0xAA, 0x55, 0x01, 0x02, 0x00, 0x01, 0x03},
        {0xAA, 0x55, 0x08, 0x02, 0x00, 0x01, 0x03}, // one byte where eight were announced
    };
    for (const auto& reply : replies) {
        for (const bool strict : {false, true}) {
            SExchangeRig rig;
            rig.serial->addReply(reply);
            if (strict)
                EXPECT_EQ(rig.transactLiveStrict(), CLPGDevice::kStrictFailed);
            else
                EXPECT_FALSE(rig.transactLive());
            EXPECT_EQ(rig.length, 6);
        }
    }
}

TEST(LPGDeviceExchange, SerialFailureMidExchangeReleasesTheMutex) {
    for (const bool failOnRead : {false, true}) {
        SCOPED_TRACE(failOnRead ? "read fails" : "write fails");
        SExchangeRig rig;
        if (failOnRead)
            rig.serial->failRead(1);
        else
            rig.serial->failWrite(3);
        EXPECT_THROW(rig.transactLive(), CRSError);
        ASSERT_TRUE(rig.device->exchangeMutex().try_lock());
        rig.device->exchangeMutex().unlock();

        rig.serial->addReply(answer(0x02, 0x0001, {4}));
        EXPECT_TRUE(rig.transactLive());
    }
}

TEST(LPGDeviceExchange, DeviceIsReachableWhileItLives) {
    EXPECT_EQ(theDevice(), nullptr);
    {
        CLPGDevice device;
        EXPECT_EQ(theDevice(), &device);
        ASSERT_NE(device.serialPort(), nullptr);
        EXPECT_EQ(&device.serialIo(), device.serialPort());
        EXPECT_FALSE(device.isDemo());
        EXPECT_FALSE(device.isConnected());
    }
    EXPECT_EQ(theDevice(), nullptr);
    CLPGDevice injected(std::make_unique<CScriptedSerial>());
    EXPECT_EQ(injected.serialPort(), nullptr);
}
