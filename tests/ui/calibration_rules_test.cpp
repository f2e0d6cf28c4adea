#include "ui/pages/calibration/calibration_rules.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

using namespace calibration;

TEST(CalibrationRules, CouplingMovesTheTimeMapAgainstTheEmulationExceptForAMaf) {
    CDeviceConfig config;
    // Ctrl+Up and Ctrl+Down on the emulation grid with 0.5 ms per %.
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu1, config, 0.5, EPageMap::Emulation, 1), -0.5);
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu1, config, 0.5, EPageMap::Emulation, -1), 0.5);
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu2, config, 0.5, EPageMap::Emulation, 1), 0.5);
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu2, config, 0.5, EPageMap::Emulation, -1), -0.5);
    config.m_tempomatSetup.m_tempomatFlags = 0x01; // channel 2 emulates a MAP sensor
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu2, config, 0.5, EPageMap::Emulation, 1), -0.5);
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu1, config, 0, EPageMap::Emulation, 1), std::nullopt);
    EXPECT_EQ(coupledTimeDelta(EEmuChannel::Emu1, config, 0.5, EPageMap::Time, 0.1), std::nullopt);
    EXPECT_EQ(stepEmuPerPercent(4.95, 1), 5.0);
    EXPECT_EQ(stepEmuPerPercent(0.05, -1), 0.0);
}

TEST(CalibrationRules, FieldStepsStopAtTheirLimits) {
    // A hundred steps up from 0 reach 0.500 exactly, and no further.
    double offset = 0;
    for (int step = 0; step < 100; ++step)
        offset = stepEmuOffset(offset, 1).value();
    EXPECT_EQ(offset, 0.5);
    EXPECT_EQ(stepEmuOffset(0.5, 1), std::nullopt);
    EXPECT_EQ(stepEmuOffset(-0.5, -1), std::nullopt);
    EXPECT_EQ(stepEmuOffset(-0.5, 1), -0.495);

    EXPECT_EQ(stepTpsJump(0, 1), 0.05);
    EXPECT_EQ(stepTpsJump(0.05, -1), 0.0);
    EXPECT_EQ(stepTpsJump(0.03, 1), 0.05);
    EXPECT_EQ(stepTpsJump(0.05, 1), 0.06);
    EXPECT_EQ(stepTpsJump(1.0, 1), std::nullopt);

    EXPECT_EQ(stepMapCutOff(12.0, 1), 12.0);
    EXPECT_EQ(stepMapCutOff(0.0, -1), 0.0);
    EXPECT_EQ(stepTpsEmLimitDelay(25, -1), 25);
    EXPECT_EQ(stepTpsEmLimitDelay(4990, 1), 5000);

    // EMU3 and EMU4 go together while the TPS channels are coupled.
    EXPECT_EQ(tpsLimitFlagsAfterClick(0x00, ETpsLimitBox::Emu3, true, 0x00), 0x04);
    EXPECT_EQ(tpsLimitFlagsAfterClick(0x00, ETpsLimitBox::Emu4, true, 0x10), 0x0C);
    EXPECT_EQ(tpsLimitFlagsAfterClick(0x1F, ETpsLimitBox::Emu3, false, 0x10), 0x13);
}

TEST(CalibrationRules, LoadHeadersInPercentOfTheSpanOrInValues) {
    CDeviceConfig config;
    config.m_base.m_flags = kPercentLoadScaleFlag;
    config.m_mapCoordinatesEmu1 = generateLoadAxis(0.5, 4.5, EAxisScale::Uniform, false);
    const auto percent = loadHeaderTexts(EEmuChannel::Emu1, config);
    EXPECT_EQ(percent[0], "0");
    EXPECT_EQ(percent[4], "25");
    EXPECT_EQ(percent[15], "100");
    // No span: the values, not inf or nan.
    config.m_mapCoordinatesEmu2.fill(1.5);
    EXPECT_EQ(loadHeaderTexts(EEmuChannel::Emu2, config)[3], "1.50");
    config.m_tempomatSetup.m_tempomatFlags = kTempomatRawTpsFlag;
    config.m_mapCoordinatesEmu3[2] = 12.4;
    EXPECT_EQ(loadHeaderTexts(EEmuChannel::Emu3, config)[2], "12");
    // Halves round away from zero, as the record's values do, wherever the text is shown.
    config.m_mapCoordinatesEmu3[2] = 12.5;
    EXPECT_EQ(loadHeaderTexts(EEmuChannel::Emu3, config)[2], "13");
    EXPECT_EQ(timeGridCorner(EEmuChannel::Emu2, config), "%\\RPM");
    config.m_base.m_flags = 0;
    EXPECT_EQ(loadHeaderTexts(EEmuChannel::Emu1, config)[1], "0.75");
    EXPECT_EQ(timeGridCorner(EEmuChannel::Emu3, config), "%");
    EXPECT_EQ(timeGridCorner(EEmuChannel::Emu4, config), "V");
}

TEST(CalibrationRules, LiveValuesOfEachChannel) {
    CDeviceConfig config;
    SLiveValues live;
    live.signal = {0, 1.2, 2.0, 2.5, 0, 0, 0, 0};
    EXPECT_EQ(channelLive(EEmuChannel::Emu1, config, live).emulationPercent, 0); // no input
    const SChannelLive maf = channelLive(EEmuChannel::Emu2, config, live);
    EXPECT_EQ(maf.input, 2.0);
    EXPECT_DOUBLE_EQ(maf.emulationPercent, 25);
    config.m_tempomatSetup.m_tempomatFlags = 0x01;
    EXPECT_EQ(channelLive(EEmuChannel::Emu2, config, live).output, 1.2);
}

} // namespace
} // namespace torva
