#include "config/block_codec.h"
#include "config/conversions.h"
#include "lang/cng_flag.h"
#include "process_state_guard.h"

#include <gtest/gtest.h>

#include <vector>

using namespace torva;

namespace {

using Bytes = std::vector<std::uint8_t>;

class BlockCodec : public ::testing::Test {
protected:
    test::CProcessStateGuard m_guard;
    CDeviceConfig m_config{3};

    void SetUp() override {
        m_config.m_devInfo.m_version = 0x100;
        m_config.m_devInfo.m_deviceID = 3;
    }

    void decode(EBlock block, const Bytes& bytes) {
        decodeBlock(block, bytes.data(), bytes.size(), m_config);
    }
};

} // namespace

TEST_F(BlockCodec, BaseBlockLayout) {
    m_config.m_sensorsSetup.m_temprEngineSensor = 0;
    m_config.m_sensorsSetup.m_temprLPGSensor = 2;
    SBaseSetup& base = m_config.m_base;
    base.m_switchRPM = 1234;
    base.m_torvaDivider = 2;
    base.m_switchPressure = 60;
    base.m_switchTempr = 35;
    base.m_switchDelay = 30;
    base.m_flags = 0x15;
    base.m_pressureRef = 120;
    base.m_pressureGain = 1.2;
    base.m_pressAverageCount = 0.8;
    base.m_temprRef = 50;
    base.m_temprGain = 0.3;
    base.m_temprBottom = 0;
    base.m_temprUpper = 80;
    base.m_maxExhaustTemp = 600;
    base.m_minVCC = 10;
    base.m_advancedFlags = 0x50;
    base.m_emuEnable = {1, 0, 1, 1};
    const Bytes expected{0x7C, 0x2F, 2,  71,   132,  60, 0x15, 133, 12, 4, 54,
                         3,    181,  22, 0x58, 0x02, 85, 0x50, 1,   0,  1, 1};
    EXPECT_EQ(encodeBlock(EBlock::Base, m_config), expected);

    const SBaseSetup written = base;
    decode(EBlock::Base, expected);
    EXPECT_EQ(base.m_switchRPM, 1200); // period 12156 reads in whole hundreds
    base.m_switchRPM = written.m_switchRPM;
    EXPECT_EQ(base, written);
}

TEST_F(BlockCodec, AdvancedBlockLayout) {
    m_config.m_sensorsSetup.m_temprEngineSensor = 1;
    SAdvancedSetup& adv = m_config.m_adv;
    adv = SAdvancedSetup{4.0, 25, 2.0, 30, 50, 14, 4, 0xA5};
    const Bytes expected{14, 25, 0xD0, 0x07, 0xE8, 0x03, 60, 72, 0xA5, 4};
    EXPECT_EQ(encodeBlock(EBlock::Advanced, m_config), expected);
    const SAdvancedSetup written = adv;
    adv = SAdvancedSetup{};
    decode(EBlock::Advanced, expected);
    EXPECT_EQ(adv, written);
}

TEST_F(BlockCodec, SensorThresholdsTravelInvertedForFuelType1ButNotTheClass) {
    m_config.m_sensorsSetup = SSensorsSetup{60, 35, 15, 8, 2, 1, 1, 3};
    const Bytes expected{0xC3, 0xDC, 0xF0, 0xF7, 1, 2, 1, 3};
    EXPECT_EQ(encodeBlock(EBlock::Sensors, m_config), expected);
    const SSensorsSetup written = m_config.m_sensorsSetup;
    m_config.m_sensorsSetup = SSensorsSetup{};
    decode(EBlock::Sensors, expected);
    EXPECT_EQ(m_config.m_sensorsSetup, written);

    m_config.m_sensorsSetup.m_fuelType = 0;
    EXPECT_EQ(encodeBlock(EBlock::Sensors, m_config), (Bytes{60, 35, 15, 8, 0, 2, 1, 3}));
}

TEST_F(BlockCodec, ServiceBlockLayout) {
    SServiceSetup& service = m_config.m_serviceSetup;
    service.m_serviceInterval = 0x01020304;
    service.m_tpsCutOff = 1.5;
    service.m_crInjCutOffTime = 1.2;
    service.m_knockFreq = 44;
    service.m_knockIntTime = 10;
    service.m_tpsDigitEmuEnable = 1;
    service.m_knockGain = 55;
    service.m_emuOffset = {0, 0.5, -0.5, 0.1};
    service.m_knockMaxSignal = 2.5;
    service.m_tpsEmLimitFlag = 0x11;
    service.m_tpsEmLimitDelay = 50;
    service.m_maxRpm = 5000;
    service.m_mapCutOff = 3.0;
    service.m_advancedFlags2 = 0x92;
    service.m_rpmTh = 2.0;
    service.m_tpsJump = 1.5;
    const Bytes expected{4, 3,    2, 1, 100, 0, 150, 0,    44, 10,   1,    55,  0, 2,    0x21,
                         2, 0xDF, 1, 7, 2,   0, 3,   0x11, 2,  0xB8, 0x0B, 201, 0, 0x92, 8};
    EXPECT_EQ(encodeBlock(EBlock::Service, m_config), expected);

    decode(EBlock::Service, expected);
    EXPECT_EQ(service.m_tpsJump, 0); // not carried by the block: always cleared by a read
    EXPECT_EQ(service.m_tpsCutOff, 1.50);
    EXPECT_EQ(service.m_crInjCutOffTime, 1.2);
    EXPECT_EQ(service.m_emuOffset[0], 0);
    EXPECT_EQ(service.m_emuOffset[1], 0.494); // count 545
    EXPECT_EQ(service.m_emuOffset[2], -0.494);
    EXPECT_EQ(service.m_emuOffset[3], 0.105);
    EXPECT_EQ(service.m_knockMaxSignal, 2.5);
    EXPECT_EQ(service.m_tpsEmLimitDelay, 50);
    EXPECT_EQ(service.m_maxRpm, 5000);
    EXPECT_EQ(service.m_mapCutOff, 3.01); // count 201
    EXPECT_EQ(service.m_rpmTh, 2.0);
    EXPECT_EQ(service.m_serviceInterval, 0x01020304u);
    EXPECT_EQ(service.m_advancedFlags2, 0x92);
}

TEST_F(BlockCodec, TempomatBlockLayout) {
    m_config.m_sensorsSetup.m_temprLPGSensor = 0;
    STempomatSetup& tempomat = m_config.m_tempomatSetup;
    tempomat = STempomatSetup{1000, 1.0, 2.0, 12.5, 5, 0x0241, 300.5, 1.0, 20, 6, 30, 0x8001, 0};
    const Bytes expected{0x98, 0x3A, 67, 0, 134,  0,    125, 0x00, 0x41, 0x02,
                         5,    4,    20, 6, 0xBD, 0x0B, 30,  214,  0x01, 0x80};
    EXPECT_EQ(encodeBlock(EBlock::Tempomat, m_config), expected);
    const STempomatSetup written = tempomat;
    tempomat = STempomatSetup{};
    decode(EBlock::Tempomat, expected);
    EXPECT_EQ(tempomat.m_turboDetect, 1.0);
    EXPECT_EQ(tempomat.m_tpsAnalogDetect, 2.0);
    tempomat.m_turboDetect = written.m_turboDetect;
    tempomat.m_tpsAnalogDetect = written.m_tpsAnalogDetect;
    EXPECT_EQ(tempomat, written);
}

TEST_F(BlockCodec, MapAndAxisLayouts) {
    m_config.m_mapTimeEmu2[2][3] = 1.7;
    m_config.m_mapEmu2[15][14] = -20;
    m_config.m_mapEmu2[0][1] = 155;
    const Bytes time = encodeBlock(EBlock::TimeMap2, m_config);
    ASSERT_EQ(time.size(), 240u);
    EXPECT_EQ(time[2 * 15 + 3], 17);
    EXPECT_EQ(time[0], 0);
    const Bytes emulation = encodeBlock(EBlock::EmuMap2, m_config);
    EXPECT_EQ(emulation[239], 80);
    EXPECT_EQ(emulation[1], 255);
    EXPECT_EQ(emulation[0], 100);

    const Bytes axes = encodeBlock(EBlock::Axes1Rpm, m_config);
    ASSERT_EQ(axes.size(), 48u);
    for (int point = 0; point < 16; ++point) {
        EXPECT_EQ(axes[2 * point] | axes[2 * point + 1] << 8, 64 * (point + 1)) << point;
    }
    for (int point = 0; point < 15; ++point) {
        EXPECT_EQ(axes[32 + point], 5 + 3 * point) << point; // hundreds of rpm
    }
    EXPECT_EQ(axes[47], 0);

    const Bytes tpsd = encodeBlock(EBlock::AxisTpsD, m_config);
    ASSERT_EQ(tpsd.size(), 32u);
    EXPECT_EQ(tpsd[0], 10);
    EXPECT_EQ(tpsd[30], 85);
}

TEST_F(BlockCodec, MapValuesOutsideTheByteClampAndTruncate) {
    m_config.m_mapTimeEmu1[0][0] = 0.79; // 7.9 tenths truncate to 7
    m_config.m_mapTimeEmu1[0][1] = 30.0; // beyond 25.5 ms
    m_config.m_mapEmu1[0][0] = -120;     // below the offset
    m_config.m_mapEmu1[0][1] = -0.5;     // 99.5 truncates to 99
    m_config.m_mapRpmCoordinatesEmu1[0] = 1290;
    EXPECT_EQ(encodeBlock(EBlock::TimeMap1, m_config)[0], 7);
    EXPECT_EQ(encodeBlock(EBlock::TimeMap1, m_config)[1], 255);
    EXPECT_EQ(encodeBlock(EBlock::EmuMap1, m_config)[0], 0);
    EXPECT_EQ(encodeBlock(EBlock::EmuMap1, m_config)[1], 99);
    EXPECT_EQ(encodeBlock(EBlock::Axes1Rpm, m_config)[32], 12);
}

TEST_F(BlockCodec, ZeroPeriodsReadAsTheSubstituteSpeeds) {
    decode(EBlock::Tempomat, Bytes(20, 0));
    EXPECT_EQ(m_config.m_tempomatSetup.m_rpmDetect, 1000);
    decode(EBlock::Service, Bytes(30, 0));
    EXPECT_EQ(m_config.m_serviceSetup.m_maxRpm, 5000);
    decode(EBlock::Base, Bytes(22, 0));
    EXPECT_EQ(m_config.m_base.m_switchRPM, kSwitchRpmForZeroPeriod);
}

TEST_F(BlockCodec, TempomatBit3MakesTpsValuesRawCounts) {
    Bytes tempomat(20, 0);
    tempomat[4] = 0xBC; // 700
    tempomat[5] = 0x02;
    tempomat[8] = 0x08;
    decode(EBlock::Tempomat, tempomat);
    EXPECT_TRUE(m_config.tpsValuesAreRawCounts());
    EXPECT_EQ(m_config.m_tempomatSetup.m_tpsAnalogDetect, 700);

    Bytes service(30, 0);
    service[4] = 0x2C; // 300
    service[5] = 0x01;
    service[26] = 200; // the MAP cut-off stays in volts
    decode(EBlock::Service, service);
    EXPECT_EQ(m_config.m_serviceSetup.m_tpsCutOff, 300);
    EXPECT_EQ(m_config.m_serviceSetup.m_mapCutOff, 2.99);

    Bytes axis(32, 0);
    axis[0] = 0xE8; // 1000
    axis[1] = 0x03;
    decode(EBlock::Axis3, axis);
    decode(EBlock::Axis4, axis);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu3[0], 1000);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu4[0], 14.96); // channel 4 stays in volts

    m_config.m_serviceSetup.m_tpsCutOff = 300.4;
    EXPECT_EQ(encodeBlock(EBlock::Service, m_config)[4], 0x2C);
    EXPECT_EQ(encodeBlock(EBlock::Axis3, m_config)[0], 0xE8);

    tempomat[8] = 0;
    decode(EBlock::Tempomat, tempomat);
    EXPECT_EQ(m_config.m_tempomatSetup.m_tpsAnalogDetect, 10.47); // 700 counts in volts
    decode(EBlock::Axis3, axis);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu3[0], 14.96);
}

TEST_F(BlockCodec, SwitchableScaleAppliesToItsFieldsOnly) {
    updateSwitchableScale(0x08);
    Bytes axis(32, 0);
    axis[0] = 100;
    for (EBlock block : {EBlock::Axes1Rpm, EBlock::Axis2}) {
        decode(block, axis);
    }
    decode(EBlock::Axis3, axis);
    decode(EBlock::Axis4, axis);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu1[0], 1.5);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu2[0], 1.5);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu3[0], 2.74);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu4[0], 2.74);

    Bytes service(30, 0);
    service[4] = 100;
    service[12] = 100; // emulator offsets keep the fixed scale
    service[26] = 100;
    decode(EBlock::Service, service);
    EXPECT_EQ(m_config.m_serviceSetup.m_tpsCutOff, 2.74);
    EXPECT_EQ(m_config.m_serviceSetup.m_mapCutOff, 2.74);
    EXPECT_EQ(m_config.m_serviceSetup.m_emuOffset[0], -6.162); // (100 - 512) counts

    Bytes tempomat(20, 0);
    tempomat[2] = 100;
    decode(EBlock::Tempomat, tempomat);
    EXPECT_EQ(m_config.m_tempomatSetup.m_turboDetect, 2.74);
}

TEST_F(BlockCodec, PressureFormulaAndSupplyScaleFollowTheRecordsIdentity) {
    m_config.m_base.m_switchPressure = 60;
    m_config.m_base.m_minVCC = 20;
    m_config.m_devInfo.m_version = 0x10E;
    EXPECT_EQ(encodeBlock(EBlock::Base, m_config)[3], 71);
    m_config.m_devInfo.m_version = 0x10F;
    EXPECT_EQ(encodeBlock(EBlock::Base, m_config)[3], 35);

    EXPECT_EQ(encodeBlock(EBlock::Base, m_config)[16], 170); // type 3: scale 6
    m_config.m_devInfo.m_deviceID = 25;
    EXPECT_EQ(encodeBlock(EBlock::Base, m_config)[16], 93); // scale 11
}

TEST_F(BlockCodec, TemperaturesUseTheSensorTypeOfTheirSensor) {
    Bytes base(22, 0);
    base[4] = 32;  // engine sensor
    base[10] = 32; // gas sensor
    m_config.m_sensorsSetup.m_temprEngineSensor = 1;
    m_config.m_sensorsSetup.m_temprLPGSensor = 3;
    decode(EBlock::Base, base);
    EXPECT_EQ(m_config.m_base.m_switchTempr, 79);
    EXPECT_EQ(m_config.m_base.m_temprRef, 55);

    m_config.m_base.m_temprBottom = -60; // colder than the whole column
    EXPECT_EQ(encodeBlock(EBlock::Base, m_config)[12], 255);
}

TEST_F(BlockCodec, ShortAnswersDecodeAsZeroFilledAndLongOnesAreCut) {
    Bytes full(22, 0);
    full[0] = 0x7C;
    full[1] = 0x2F;
    full[2] = 9;
    CDeviceConfig expected = m_config;
    decodeBlock(EBlock::Base, full.data(), full.size(), expected);

    const Bytes shortAnswer{0x7C, 0x2F, 9};
    decode(EBlock::Base, shortAnswer);
    EXPECT_EQ(m_config, expected);

    Bytes longAnswer = full;
    longAnswer.resize(200, 0xEE);
    decode(EBlock::Base, longAnswer);
    EXPECT_EQ(m_config, expected);

    decodeBlock(EBlock::TimeMap1, nullptr, 0, m_config);
    EXPECT_EQ(m_config.m_mapTimeEmu1, MapValues{});
    const Bytes oneByte{7};
    decode(EBlock::Axes1Rpm, oneByte);
    EXPECT_EQ(m_config.m_mapCoordinatesEmu1[0], 0.1);
    EXPECT_EQ(m_config.m_mapRpmCoordinatesEmu1[14], 0);
}

TEST_F(BlockCodec, BaseBlockReadAndWriteRefreshTheCngFlag) {
    Bytes base(22, 0);
    base[17] = 0x40;
    decode(EBlock::Base, base);
    EXPECT_TRUE(isCngInstallation());

    decode(EBlock::Advanced, Bytes(10, 0));
    decode(EBlock::Sensors, Bytes(8, 0));
    EXPECT_TRUE(isCngInstallation()); // other blocks leave it alone

    base[17] = 0xBF; // every bit but 6
    decode(EBlock::Base, base);
    EXPECT_FALSE(isCngInstallation());

    m_config.m_base.m_advancedFlags = 0x50;
    encodeBlock(EBlock::Base, m_config);
    EXPECT_TRUE(isCngInstallation());
    m_config.m_base.m_advancedFlags = 0x10;
    encodeBlock(EBlock::Base, m_config);
    EXPECT_FALSE(isCngInstallation());
}
