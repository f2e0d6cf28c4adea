#include "config/config_groups.h"
#include "config/device_config.h"
#include "process_state_guard.h"

#include <gtest/gtest.h>

#include <optional>

using namespace torva;

namespace {

struct STypeDefaults {
    std::optional<std::uint8_t> type;
    double minVCC;
    double pwmOffset;
    double warmingImpulse;
    int injMounted;
};

} // namespace

TEST(DeviceConfigDefaults, TypeDependentValues) {
    for (const STypeDefaults& expected :
         {STypeDefaults{std::nullopt, 10, 2.0, 1.0, 6}, STypeDefaults{25, 20, 2.0, 1.0, 6},
          STypeDefaults{37, 20, 2.0, 1.0, 12}, STypeDefaults{3, 10, 4.0, 2.0, 4},
          STypeDefaults{40, 10, 4.0, 2.0, 4}}) {
        const CDeviceConfig config(expected.type);
        const int type = expected.type.value_or(-1);
        EXPECT_EQ(config.m_base.m_minVCC, expected.minVCC) << type;
        EXPECT_EQ(config.m_adv.m_pwmOffset, expected.pwmOffset) << type;
        EXPECT_EQ(config.m_adv.m_injectorWarmingImpulse, expected.warmingImpulse) << type;
        EXPECT_EQ(config.m_adv.m_injMounted, expected.injMounted) << type;
    }
}

TEST(DeviceConfigDefaults, MapsAreZeroAndAxesFollowTheirScales) {
    test::CProcessStateGuard guard;
    updateSwitchableScale(0x08);
    const CDeviceConfig config;
    for (const MapValues* map : {&config.m_mapTimeEmu1, &config.m_mapEmu2, &config.m_mapEmuTpsD}) {
        EXPECT_EQ(*map, MapValues{});
    }
    EXPECT_EQ(config.m_mapCoordinatesEmu1[0], 0.96);   // count 64, fixed scale
    EXPECT_EQ(config.m_mapCoordinatesEmu2[15], 15.31); // count 1024, fixed scale
    EXPECT_EQ(config.m_mapCoordinatesEmu3[15], 28.08); // count 1024, switchable scale 8.5
    EXPECT_EQ(config.m_mapCoordinatesEmu4[0], 1.75);
    EXPECT_EQ(config.m_mapRpmCoordinatesEmu1[0], 500);
    EXPECT_EQ(config.m_mapRpmCoordinatesEmu1[1], 800);
    EXPECT_EQ(config.m_mapRpmCoordinatesEmu1[14], 4700);
    EXPECT_EQ(config.m_mapCoordinatesEmuTpsD[0], 10);
    EXPECT_EQ(config.m_mapCoordinatesEmuTpsD[15], 85);
}

TEST(DeviceConfigDefaults, SetDefaultsRestoresAnEditedRecord) {
    CDeviceConfig config(25);
    config.m_timeStamp = "07-03-2014-15:04:09";
    config.m_devInfo.m_version = 0x12F;
    config.m_base.m_switchRPM = 2500;
    config.m_mapEmu3[4][7] = 12;
    config.m_mapCoordinatesEmu1[3] = 1.5;
    config.setDefaults(25);
    EXPECT_EQ(config, CDeviceConfig(25));
}

namespace {

// A record that differs from the defaults in every group.
CDeviceConfig edited() {
    CDeviceConfig config(37);
    config.m_timeStamp = "stamp";
    config.m_devInfo.m_version = 0x12F;
    config.m_devInfo.m_serial = "DI001";
    config.m_base.m_switchRPM = 1800;
    config.m_base.m_emuEnable[2] = 1;
    config.m_adv.m_pwm = 40;
    config.m_sensorsSetup.m_fuelType = 1;
    config.m_serviceSetup.m_mapCutOff = 2.5;
    config.m_serviceSetup.m_tpsJump = 1.5;
    config.m_serviceSetup.m_emuOffset[1] = 0.25;
    config.m_serviceSetup.m_knockMaxSignal = 1.25;
    config.m_serviceSetup.m_knockFreq = 7;
    config.m_serviceSetup.m_knockIntTime = 8;
    config.m_serviceSetup.m_knockGain = 9;
    config.m_tempomatSetup.m_minGasTempr = -5;
    config.m_tempomatSetup.m_tempomatFlags = 0x41;
    config.m_mapTimeEmu4[15][14] = 3.2;
    config.m_mapEmuTpsD[0][0] = -20;
    config.m_mapCoordinatesEmuTpsD[2] = 33;
    config.m_mapRpmCoordinatesEmu1[14] = 5000;
    return config;
}

} // namespace

TEST(DeviceConfigGroups, TransferCopiesAllButIdentityStampAndKnockSettings) {
    const CDeviceConfig source = edited();
    CDeviceConfig live(3);
    live.m_timeStamp = "live stamp";
    live.m_devInfo.m_version = 0x102;
    live.m_serviceSetup.m_knockMaxSignal = 0.5;
    live.m_serviceSetup.m_knockFreq = 1;
    live.m_serviceSetup.m_knockIntTime = 2;
    live.m_serviceSetup.m_knockGain = 3;
    const CDeviceConfig before = live;

    copyTransferGroups(live, source);

    // The copy differs from the source only in identity, stamp and knock settings.
    CDeviceConfig expected = source;
    expected.m_timeStamp = before.m_timeStamp;
    expected.m_devInfo = before.m_devInfo;
    expected.m_serviceSetup.m_knockMaxSignal = 0.5;
    expected.m_serviceSetup.m_knockFreq = 1;
    expected.m_serviceSetup.m_knockIntTime = 2;
    expected.m_serviceSetup.m_knockGain = 3;
    EXPECT_EQ(live, expected);
}
