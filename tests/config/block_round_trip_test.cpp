#include "config/block_codec.h"
#include "process_state_guard.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

using namespace torva;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Byte offsets whose fields do not survive decode -> encode unchanged, with the reason. Every
// other byte of every block must come back exactly.
std::set<std::size_t> lossyOffsets(EBlock block, std::int32_t firmwareVersion) {
    switch (block) {
    case EBlock::Base: {
        // switch speed shown in hundreds (0-1); switch delay drops bit 0 (5); temperatures share
        // codes (4, 10, 12, 13); the older pressure formula shares codes (3, 7).
        std::set<std::size_t> offsets{0, 1, 4, 5, 10, 12, 13};
        if (firmwareVersion < 0x10F) {
            offsets.insert({3, 7});
        }
        return offsets;
    }
    case EBlock::Advanced:
        // PWM offset and warming impulse shown with one decimal of 0.002 steps (2-5); warming
        // time drops bit 0 (6); temperature (7).
        return {2, 3, 4, 5, 6, 7};
    case EBlock::Service:
        // injector cut-off time in 0.008 ms steps shown with two decimals (6-7); slow speed
        // limits share a displayed rpm (24-25).
        return {6, 7, 24, 25};
    case EBlock::Tempomat:
        // slow detection speeds share a displayed rpm (0-1); temperature (17).
        return {0, 1, 17};
    case EBlock::Axes1Rpm:
        return {47}; // spare byte, always written as 0
    default:
        return {};
    }
}

struct SContext {
    std::int32_t version;
    std::uint8_t deviceType;
    std::uint8_t sensorType;
    std::uint16_t tempomatFlags;
    std::uint32_t flags1;
};

class BlockRoundTrip : public ::testing::TestWithParam<SContext> {
protected:
    test::CProcessStateGuard m_guard;
    std::mt19937 m_random{20160121};

    CDeviceConfig configFor(const SContext& context) {
        updateSwitchableScale(context.flags1);
        CDeviceConfig config(context.deviceType);
        config.m_devInfo.m_version = context.version;
        config.m_devInfo.m_deviceID = context.deviceType;
        config.m_devInfo.m_flags1 = context.flags1;
        config.m_sensorsSetup.m_temprEngineSensor = context.sensorType;
        config.m_sensorsSetup.m_temprLPGSensor = static_cast<std::uint8_t>(3 - context.sensorType);
        config.m_tempomatSetup.m_tempomatFlags = context.tempomatFlags;
        return config;
    }

    Bytes randomImage(EBlock block, const SContext& context) {
        Bytes image(blockInfo(block).size);
        for (auto& byte : image) {
            byte = static_cast<std::uint8_t>(m_random());
        }
        if (block == EBlock::Tempomat) {
            // Keep the context's flags: they decide how the rest of the block reads.
            image[8] = static_cast<std::uint8_t>(context.tempomatFlags);
            image[9] = static_cast<std::uint8_t>(context.tempomatFlags >> 8);
        }
        if (block == EBlock::Sensors) {
            image[6] = context.sensorType; // keep the temperature columns of the context
            image[7] = static_cast<std::uint8_t>(3 - context.sensorType);
            image[4] = static_cast<std::uint8_t>(m_random() % 3); // 1 inverts the thresholds
        }
        return image;
    }
};

} // namespace

// Whatever the controller sends: the bytes of lossless fields come back exactly, and writing back
// what was read is a fixpoint (a second read/write changes nothing).
TEST_P(BlockRoundTrip, EveryBlockComesBackExactlyOrAtAStableFixpoint) {
    const SContext& context = GetParam();
    for (const SBlockInfo& info : blockTable()) {
        const std::set<std::size_t> lossy = lossyOffsets(info.block, context.version);
        for (int sample = 0; sample < 200; ++sample) {
            CDeviceConfig config = configFor(context);
            const Bytes image = randomImage(info.block, context);
            decodeBlock(info.block, image.data(), image.size(), config);
            const Bytes written = encodeBlock(info.block, config);
            ASSERT_EQ(written.size(), image.size()) << info.name;
            for (std::size_t offset = 0; offset < image.size(); ++offset) {
                if (!lossy.count(offset)) {
                    ASSERT_EQ(written[offset], image[offset])
                        << info.name << " offset " << offset << " sample " << sample;
                }
            }
            const CDeviceConfig firstRead = config;
            decodeBlock(info.block, written.data(), written.size(), config);
            ASSERT_EQ(config, firstRead) << info.name << " sample " << sample;
            ASSERT_EQ(encodeBlock(info.block, config), written) << info.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Contexts, BlockRoundTrip,
                         ::testing::Values(SContext{0x100, 3, 0, 0x0000, 0},
                                           SContext{0x12F, 25, 1, 0x0008, 8},
                                           SContext{0x10F, 37, 2, 0x00F7, 5},
                                           SContext{0x10E, 40, 3, 0xFFFF, 0xFFFF}));

// In the lossy fields, values on the pages' grids still come back as set: the switch speed in
// hundreds, the tenths of the injector settings. The whole-rpm speeds can only move to the
// nearest speed a whole period gives, less than rpm^2 / 30000000 + 0.5 away.
TEST(BlockRoundTripValues, DisplayValuesOnTheirGridSurviveWriteAndRead) {
    test::CProcessStateGuard guard;
    CDeviceConfig config(3);
    config.m_devInfo.m_version = 0x12F;
    config.m_devInfo.m_deviceID = 3;
    for (double rpm = 400; rpm <= 9000; rpm += 100) {
        config.m_base.m_switchRPM = rpm;
        config.m_serviceSetup.m_maxRpm = rpm;
        config.m_tempomatSetup.m_rpmDetect = rpm;
        CDeviceConfig read = config;
        for (EBlock block : {EBlock::Base, EBlock::Service, EBlock::Tempomat}) {
            const Bytes image = encodeBlock(block, config);
            decodeBlock(block, image.data(), image.size(), read);
        }
        ASSERT_EQ(read.m_base.m_switchRPM, rpm);
        const double tolerance = rpm * rpm / 3e7 + 0.5;
        ASSERT_NEAR(read.m_serviceSetup.m_maxRpm, rpm, tolerance);
        ASSERT_NEAR(read.m_tempomatSetup.m_rpmDetect, rpm, tolerance);
    }
    for (int tenths = 0; tenths <= 100; ++tenths) {
        config.m_adv.m_pwmOffset = tenths / 10.0;
        config.m_adv.m_injectorWarmingImpulse = tenths / 10.0;
        config.m_serviceSetup.m_crInjCutOffTime = tenths / 10.0;
        CDeviceConfig read = config;
        for (EBlock block : {EBlock::Advanced, EBlock::Service}) {
            const Bytes image = encodeBlock(block, config);
            decodeBlock(block, image.data(), image.size(), read);
        }
        ASSERT_EQ(read.m_adv.m_pwmOffset, tenths / 10.0);
        ASSERT_EQ(read.m_adv.m_injectorWarmingImpulse, tenths / 10.0);
        ASSERT_EQ(read.m_serviceSetup.m_crInjCutOffTime, tenths / 10.0);
    }
}
