// The command set of CLPGDevice against the controller simulator over a pseudo-terminal.
#include "fixture/device_sim_fixture.h"

#include "config/block_codec.h"
#include "config/process_state_guard.h"
#include "link/demo_state.h"
#include "link/identification_notice.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "support/recording_ui.h"

using namespace torva;
using sim::blockByReadSubCode;
using sim::CControllerModel;
using sim::Direction;
using sim::FaultKind;
using sim::SimConfig;
using sim::TranscriptEntry;
namespace mode = sim::mode;
using Bytes = std::vector<std::uint8_t>;

namespace {

class CommandsAgainstSimulator : public test::CDeviceSimFixture {
protected:
    CLPGDevice& connect(SimConfig config = {}) {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
        return openDevice(std::move(config));
    }

    void TearDown() override {
        CDeviceSimFixture::TearDown();
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
    }

    // The sub-codes of the block reads the simulator received, in order.
    std::vector<std::uint8_t> blockReads() {
        std::vector<std::uint8_t> reads;
        for (const TranscriptEntry& entry : sim().transcript().entries()) {
            if (entry.direction == Direction::Request && entry.code == 2 &&
                blockByReadSubCode(entry.subCode()))
                reads.push_back(entry.subCode());
        }
        return reads;
    }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
};

// Sensors, base, advanced, tempomat, time 1, emulation 1, emulation 2, time 2, emulation 3,
// time 3, emulation 4, time 4, axes 1 + RPM, axes 2-4, service, then the TpsD emulation map,
// time map and axis.
std::vector<std::uint8_t> expectedReads(std::uint16_t version, std::uint8_t model) {
    std::vector<std::uint8_t> reads{14, 7, 8};
    if (version > 265)
        reads.push_back(55);
    reads.insert(reads.end(), {18, 19, 21, 20, 23, 22, 25, 24, 43, 44, 45, 46});
    if (version > 257)
        reads.push_back(47);
    if (model == 25 || model == 37)
        reads.insert(reads.end(), {49, 48, 54});
    return reads;
}

} // namespace

TEST_F(CommandsAgainstSimulator, ReadsEachModelsConfigurationAndWritesEveryBlockBackUnchanged) {
    for (const std::uint8_t model : {3, 25, 37}) {
        for (const std::uint16_t version : {257, 258, 265, 266}) {
            SCOPED_TRACE("model " + std::to_string(model) + " version " + std::to_string(version));
            SimConfig config;
            config.controller.identity.modelCode = model;
            config.controller.identity.version = version;
            // Model 37 with the 8.5 scale on its switchable channels.
            config.controller.identity.flags1 = model == 37 ? 0x0D : 5;
            CLPGDevice& device = connect(config);

            ASSERT_TRUE(device.readConfiguration()) << transcriptText();
            EXPECT_TRUE(device.isConnected());
            EXPECT_TRUE(m_ui.messages().empty());
            EXPECT_EQ(device.config().m_devInfo.m_version, version);
            EXPECT_EQ(device.config().m_devInfo.m_deviceID, model);
            EXPECT_EQ(blockReads(), expectedReads(version, model));

            for (const SBlockInfo& info : torva::blockTable()) {
                if (!blockExists(info.block, version, model))
                    continue;
                SCOPED_TRACE(std::string(info.name));
                const Bytes stored = sim().blockImage(info.code);
                EXPECT_EQ(encodeBlock(info.block, device.config()), stored);
                // Blank the controller's copy so that only the write can restore it.
                sim().withController(
                    [&](CControllerModel& c) { c.blocks().store(info.code, Bytes(info.size)); });
                ASSERT_TRUE(device.writeBlock(info.block));
                EXPECT_EQ(sim().blockImage(info.code), stored);
            }
            m_device.reset();
            sim().stop();
        }
    }
}

TEST_F(CommandsAgainstSimulator, WrongCodeAnswersAreRetriedToTheLimit) {
    CLPGDevice& device = connect();
    const CDeviceConfig before = device.config();

    sim().injectNext(FaultKind::WrongCode, 21);
    EXPECT_FALSE(device.readBlock(EBlock::Base));
    EXPECT_EQ(sim().transcript().countRequests(2, 7), 21u);
    EXPECT_EQ(device.config(), before);

    sim().injectNext(FaultKind::WrongCode, 20);
    EXPECT_TRUE(device.readBlock(EBlock::Base)) << transcriptText();
    EXPECT_EQ(sim().transcript().countRequests(2, 7), 42u);
    EXPECT_EQ(encodeBlock(EBlock::Base, device.config()), sim().blockImage(3));

    sim().injectNext(FaultKind::WrongCode, 15);
    EXPECT_FALSE(device.writeBlock(EBlock::Advanced));
    EXPECT_EQ(sim().transcript().countRequests(4), 15u);
}

TEST_F(CommandsAgainstSimulator, IdentityAndDieselWaitFollowTheController) {
    SimConfig config;
    config.controller.identity.modelCode = 26;
    config.controller.identity.identifier = "BX0042";
    config.controller.identity.enciphered = true;
    config.controller.initialMode = mode::kGas;
    config.controller.modeDelaySamples = 3;
    CLPGDevice& device = connect(config);

    ASSERT_TRUE(device.identify());
    ASSERT_TRUE(device.readDeviceInfo());
    const SDevInfo& info = device.config().m_devInfo;
    EXPECT_EQ(info.m_modelName, "KARMEL A2");
    EXPECT_EQ(info.m_deviceID, 25);
    EXPECT_EQ(info.m_serial, "BX0042");
    EXPECT_EQ(info.m_prodDate, "21/01/2016");

    EXPECT_TRUE(device.switchToDieselAndWait()) << transcriptText();
    EXPECT_GE(sim().transcript().countRequests(2, 6), 4u);
    EXPECT_EQ(sim().withController([](CControllerModel& c) { return c.fuelMode(); }),
              mode::kDiesel);
}

TEST_F(CommandsAgainstSimulator, ForcedProgrammingWritesTheImageThroughTheLoader) {
    SimConfig config;
    config.controller.identity.modelCode = 3; // its loader answers the first query at once
    config.controller.noValidApplication = true;
    CLPGDevice& device = connect(config);

    // An image reaching one frame past the second erase block.
    Bytes image(2 * (0x2000 + 2048 + 128));
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : i * 13 + 1);
    const int frames = static_cast<int>(image.size() / 256);
    device.setForcedProgramming([&device, &image, frames] {
        return device.programImage(0xE000, 2048, image, frames) && device.leaveLoader() &&
               device.resetAfterProgramming();
    });

    EXPECT_TRUE(device.identify()) << transcriptText();
    EXPECT_EQ(device.config().m_devInfo.m_modelName, "KARMEL A1");
    EXPECT_EQ(sim().transcript().countRequests(0xF9), 2u);
    EXPECT_EQ(sim().transcript().countRequests(0xF7), (2048u + 128u) / 128u);
    EXPECT_FALSE(sim().inLoader());
    const Bytes flash = sim().flashImage();
    EXPECT_TRUE(std::equal(image.begin() + 0x4000, image.end(), flash.begin() + 0x4000));
}
