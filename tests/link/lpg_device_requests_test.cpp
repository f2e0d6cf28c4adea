#include "config/block_codec.h"
#include "link/device_errors.h"
#include "link/device_rig.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace torva;
using test::CRespondingSerial;
using test::SDeviceRig;
using test::SSeenRequest;
using Bytes = CRespondingSerial::Bytes;

namespace {

const Bytes kBaseImage{0x30, 0x30, 1,  50,   100,  60,  0x02, 120, 10, 4, 100,
                       3,    100,  20, 0x58, 0x02, 200, 0x10, 1,   0,  1, 0};

} // namespace

TEST(LPGDeviceRequests, ReadRetriesAnAnswerWithAnotherBlocksCodeToItsLimitAndKeepsTheRecord) {
    // The controller answers every request with the advanced block's code.
    SDeviceRig rig([](const SSeenRequest&) {
        return std::optional(CRespondingSerial::answer(4, Bytes(22, 0x77)));
    });
    const CDeviceConfig before = rig.device->config();

    EXPECT_FALSE(rig.device->readBlock(EBlock::Base));
    EXPECT_EQ(rig.requests().size(), 21u);
    EXPECT_FALSE(rig.device->readBlock(EBlock::Service));
    EXPECT_EQ(rig.requests().size(), 21u + 15u);
    EXPECT_EQ(rig.device->config(), before);
    // Every attempt is the same, correctly framed query: rebuilt, not scrambled twice.
    for (const SSeenRequest& request : rig.requests()) {
        EXPECT_TRUE(request.checksumOk);
        EXPECT_EQ(request.code, 2);
    }
    EXPECT_EQ(rig.requests().front().payload, (Bytes{7, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.requests().back().payload, (Bytes{47, 0, 0, 0, 0, 0}));
}

TEST(LPGDeviceRequests, ReadTakesTheBlockOnTheSecondAttemptAndDecodesIt) {
    int attempt = 0;
    SDeviceRig rig([&attempt](const SSeenRequest&) -> std::optional<Bytes> {
        if (++attempt == 1)
            return std::nullopt; // silence: the exchange waits for the line to fall quiet
        return CRespondingSerial::answer(3, kBaseImage);
    });
    ASSERT_TRUE(rig.device->readBlock(EBlock::Base));
    EXPECT_EQ(attempt, 2);
    EXPECT_EQ(rig.clock.sleptMs(), 131);
    CDeviceConfig expected;
    decodeBlock(EBlock::Base, kBaseImage.data(), kBaseImage.size(), expected);
    EXPECT_EQ(rig.device->config().m_base, expected.m_base);
}

TEST(LPGDeviceRequests, ShortAnswerReadsAsZerosNotAsItsChecksum) {
    // Four of the sensors block's eight bytes arrive; the two checksum bytes that follow them in
    // the exchange buffer must not become the thresholds' direction flag and sensor class.
    SDeviceRig rig([](const SSeenRequest&) {
        return std::optional(CRespondingSerial::answer(9, Bytes{60, 35, 15, 8}));
    });
    rig.device->config().m_sensorsSetup.m_fuelType = 1;
    rig.device->config().m_sensorsSetup.m_temprLPGSensor = 2;
    ASSERT_TRUE(rig.device->readBlock(EBlock::Sensors));
    const SSensorsSetup& sensors = rig.device->config().m_sensorsSetup;
    EXPECT_EQ(sensors.m_fuelFull, 60);
    EXPECT_EQ(sensors.m_fuelQuarter, 8);
    EXPECT_EQ(sensors.m_fuelType, 0);
    EXPECT_EQ(sensors.m_fuelRes, 0);
    EXPECT_EQ(sensors.m_temprLPGSensor, 0);
}

TEST(LPGDeviceRequests, WriteSendsTheBlockImageAndNeedsStatusFour) {
    Bytes status{0};
    SDeviceRig rig([&status](const SSeenRequest&) {
        return std::optional(CRespondingSerial::answer(2, status));
    });
    decodeBlock(EBlock::Base, kBaseImage.data(), kBaseImage.size(), rig.device->config());

    // Code 2 with another status is not an acknowledgement: 15 attempts, then failure.
    EXPECT_FALSE(rig.device->writeBlock(EBlock::Base));
    EXPECT_EQ(rig.requests().size(), 15u);
    for (const SSeenRequest& request : rig.requests()) {
        EXPECT_TRUE(request.checksumOk);
        EXPECT_EQ(request.code, 3);
        EXPECT_EQ(request.payload, encodeBlock(EBlock::Base, rig.device->config()));
    }

    rig.serial->clearRequests();
    status = {4};
    EXPECT_TRUE(rig.device->writeBlock(EBlock::Base));
    EXPECT_EQ(rig.requests().size(), 1u);

    // An empty code-2 answer carries no status at all.
    rig.serial->clearRequests();
    status = {};
    EXPECT_FALSE(rig.device->writeBlock(EBlock::Base));
}

TEST(LPGDeviceRequests, ModeActionsTakeAnyCodeTwoWhileResetWantsTheAcknowledgement) {
    SDeviceRig rig([](const SSeenRequest&) { return std::optional(CRespondingSerial::ack(0)); });
    EXPECT_TRUE(rig.device->switchToGas());
    EXPECT_TRUE(rig.device->switchToDiesel());
    EXPECT_TRUE(rig.device->switchToAuto());
    ASSERT_EQ(rig.requests().size(), 4u);
    EXPECT_EQ(rig.requests()[0].subCode(), 1);
    EXPECT_EQ(rig.requests()[1].subCode(), 2);
    EXPECT_EQ(rig.requests()[2].subCode(), 2); // automatic: diesel first
    EXPECT_EQ(rig.requests()[3].subCode(), 3);

    rig.serial->clearRequests();
    EXPECT_FALSE(rig.device->resetDevice());
    EXPECT_EQ(rig.requests().size(), 15u);
    EXPECT_EQ(rig.requests().front().payload, (Bytes{10, 0, 0, 0, 0, 0}));
}

TEST(LPGDeviceRequests, DemoModeSendsNothingAndFillsTheDemoValues) {
    SDeviceRig rig([](const SSeenRequest&) { return std::optional(CRespondingSerial::ack()); });
    CLPGDevice& device = *rig.device;
    device.setDemo(true);
    const CDeviceConfig before = device.config();

    for (const SBlockInfo& info : blockTable()) {
        EXPECT_TRUE(device.readBlock(info.block));
        EXPECT_TRUE(device.writeBlock(info.block));
    }
    EXPECT_EQ(device.config(), before);

    EXPECT_TRUE(device.readDeviceInfo());
    const SDevInfo& info = device.config().m_devInfo;
    EXPECT_EQ(info.m_version, 0x012F);
    EXPECT_EQ(info.m_flags1, 5u);
    EXPECT_EQ(info.m_injCount, 6);
    EXPECT_EQ(info.m_serial, "DI001");
    EXPECT_EQ(info.m_prodDate, "21/01/2016");
    EXPECT_EQ(info.m_deviceID, 25);
    EXPECT_EQ(info.m_modelName, "KARMEL A2");

    EXPECT_TRUE(device.readStatistics());
    EXPECT_EQ(device.config().m_devInfo.m_statistic, (SStatistic{30, 45, 0}));
    DeviceCounters counters{7, 8, 9};
    EXPECT_TRUE(device.readCounters(counters));
    EXPECT_EQ(counters, (DeviceCounters{0, 8, 9}));
    ErrorStatus status{1, 1, 1, 1};
    EXPECT_TRUE(device.readErrorStatus(status));
    EXPECT_EQ(status, (ErrorStatus{0, 0, 0, 0})) << "the demo car has no faults";
    ErrorRecord record{1, 2, 3};
    EXPECT_TRUE(device.readErrorRecord(record));
    EXPECT_EQ(record, ErrorRecord{});
    record = {1};
    EXPECT_TRUE(device.readExtendedErrorRecord(record));
    EXPECT_EQ(record, ErrorRecord{});
    const CDeviceErrorList decoders;
    const auto texts = device.readErrorTexts(decoders);
    ASSERT_TRUE(texts.has_value());
    EXPECT_TRUE(texts->empty());

    ExhaustRecord exhaust{};
    SCapturePage page;
    CorrelationTable table{};
    EXPECT_TRUE(device.readExhaustRecord(exhaust));
    EXPECT_TRUE(device.readCapturePage(2, page));
    EXPECT_TRUE(device.readCorrelationTable(table));
    EXPECT_TRUE(device.writeCorrelationTable(table));
    EXPECT_TRUE(device.clearMap(3));
    EXPECT_TRUE(device.completeMapChange(3));
    EXPECT_TRUE(device.writeMapPart(3, std::array<std::uint8_t, 6>{}));
    EXPECT_TRUE(device.setCorrelationRecording(true));
    EXPECT_TRUE(device.confirmCorrelationTable());
    EXPECT_TRUE(device.resetDevice());

    EXPECT_TRUE(device.switchToGas());
    EXPECT_EQ(demoFuelMode(), kFuelModeGas);
    EXPECT_TRUE(device.switchToDieselAndWait());
    EXPECT_EQ(demoFuelMode(), kFuelModeDiesel);
    EXPECT_EQ(rig.clock.sleptMs(), 300);
    EXPECT_TRUE(device.switchToGas());
    EXPECT_TRUE(device.switchToAuto());
    EXPECT_EQ(demoFuelMode(), kFuelModeDiesel);

    EXPECT_TRUE(device.readConfiguration());
    EXPECT_EQ(rig.serial->bytesWritten(), 0u);
    EXPECT_TRUE(rig.ui.messages().empty());
}
