#include "config/adc_scale.h"
#include "config/conversions.h"
#include "process_state_guard.h"

#include <gtest/gtest.h>

using namespace torva;

namespace {
constexpr std::int32_t kOldFirmware = 0x10E;
constexpr std::int32_t kNewFirmware = 0x10F;
} // namespace

TEST(SpeedConversion, SwitchSpeedReadsInWholeHundreds) {
    const std::uint16_t period = periodFromRpm(1234);
    EXPECT_EQ(period, 12156);
    EXPECT_EQ(switchRpmFromPeriod(period), 1200);
    EXPECT_EQ(switchRpmFromPeriod(periodFromRpm(1250)), 1300);
}

TEST(SpeedConversion, ZeroPeriodReadsAsTheSubstitute) {
    EXPECT_EQ(rpmFromPeriod(0, kRpmDetectForZeroPeriod), 1000);
    EXPECT_EQ(rpmFromPeriod(0, kMaxRpmForZeroPeriod), 5000);
    EXPECT_EQ(switchRpmFromPeriod(0), kSwitchRpmForZeroPeriod);
}

TEST(SpeedConversion, SpeedsWithoutAFittingPeriodGetTheLongestPeriod) {
    EXPECT_EQ(periodFromRpm(0), 0xFFFF);
    EXPECT_EQ(periodFromRpm(-100), 0xFFFF);
    EXPECT_EQ(periodFromRpm(100), 0xFFFF); // 150000 does not fit
    EXPECT_EQ(periodFromRpm(230), 65217);
}

// Fast speeds (short periods) are exact; slow ones share a displayed rpm between periods, but
// whatever is written back reads as the same rpm again.
TEST(SpeedConversion, PeriodsAreExactAboveAbout3800RpmAndStableBelow) {
    for (int period = 1; period <= 0xFFFF; ++period) {
        const auto p = static_cast<std::uint16_t>(period);
        const double rpm = rpmFromPeriod(p, 0);
        if (period < 3919) {
            ASSERT_EQ(periodFromRpm(rpm), p) << period;
        }
        ASSERT_EQ(rpmFromPeriod(periodFromRpm(rpm), 0), rpm) << period;
        const double switchRpm = switchRpmFromPeriod(p);
        ASSERT_EQ(switchRpmFromPeriod(periodFromRpm(switchRpm)), switchRpm) << period;
    }
}

TEST(PressureConversion, FormulaFollowsTheFirmwareVersion) {
    EXPECT_EQ(pressureFromCode(0, kOldFirmware), 0);     // clamped below the sensor's offset
    EXPECT_EQ(pressureFromCode(51, kOldFirmware), 40);   // (1/5 - 0.04) / 0.004
    EXPECT_EQ(codeFromPressure(60, kOldFirmware), 71);   // 71.4
    EXPECT_EQ(pressureFromCode(0, kNewFirmware), 3);     // 3.478
    EXPECT_EQ(pressureFromCode(255, kNewFirmware), 417); // 416.5
    EXPECT_EQ(codeFromPressure(60, kNewFirmware), 35);   // 34.9
    EXPECT_EQ(codeFromPressure(0, kNewFirmware), 0);     // negative result clamps
}

TEST(PressureConversion, SecondFormulaIsExactFirstIsStable) {
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<std::uint8_t>(code);
        ASSERT_EQ(codeFromPressure(pressureFromCode(c, kNewFirmware), kNewFirmware), c);
        const double kPa = pressureFromCode(c, kOldFirmware);
        ASSERT_EQ(pressureFromCode(codeFromPressure(kPa, kOldFirmware), kOldFirmware), kPa);
    }
}

TEST(SupplyVoltageConversion, ScaleDependsOnDeviceType) {
    EXPECT_EQ(supplyVoltageFromCode(170, 3), 20.0);
    EXPECT_EQ(supplyVoltageFromCode(170, 25), 36.7);
    EXPECT_EQ(supplyVoltageFromCode(170, 37), 36.7);
    EXPECT_EQ(supplyVoltageFromCode(170, 40), 20.0);
    EXPECT_EQ(codeFromSupplyVoltage(10, 3), 85);
    EXPECT_EQ(codeFromSupplyVoltage(20, 25), 93); // 92.7
    for (std::uint8_t type : {3, 25}) {
        for (int code = 0; code < 256; ++code) {
            const auto c = static_cast<std::uint8_t>(code);
            ASSERT_EQ(codeFromSupplyVoltage(supplyVoltageFromCode(c, type), type), c);
        }
    }
}

TEST(AdcConversion, VoltsWithBothScalesAreExactForEveryCount) {
    EXPECT_EQ(adcVolts(1024, kFixedAdcScale), 15.31);
    EXPECT_EQ(adcVolts(1024, kHighSwitchableAdcScale), 28.08);
    EXPECT_EQ(adcCount(0.96, kFixedAdcScale), 64);
    for (double scale : {kFixedAdcScale, kHighSwitchableAdcScale}) {
        for (int count = 0; count <= 0xFFFF; ++count) {
            const auto c = static_cast<std::uint16_t>(count);
            ASSERT_EQ(adcCount(adcVolts(c, scale), scale), c) << scale;
        }
    }
}

TEST(AdcConversion, SwitchableScaleFollowsBit3OfFlagWord1) {
    test::CProcessStateGuard guard;
    EXPECT_EQ(switchableScale(), kFixedAdcScale);
    updateSwitchableScale(5);
    EXPECT_EQ(switchableScale(), kFixedAdcScale);
    updateSwitchableScale(0x08);
    EXPECT_EQ(switchableScale(), kHighSwitchableAdcScale);
    updateSwitchableScale(0xFFFFFFF7u);
    EXPECT_EQ(switchableScale(), kFixedAdcScale);
}

TEST(EmulatorOffsetConversion, SignedAroundCount512AndExact) {
    EXPECT_EQ(emuOffsetFromCount(512), 0.0);
    EXPECT_EQ(emuOffsetFromCount(511), -0.015);
    EXPECT_EQ(emuOffsetFromCount(0), -7.657);
    EXPECT_EQ(countFromEmuOffset(-0.5), 479);
    EXPECT_EQ(countFromEmuOffset(0.5), 545);
    for (int count = 0; count <= 0xFFFF; ++count) {
        const auto c = static_cast<std::uint16_t>(count);
        ASSERT_EQ(countFromEmuOffset(emuOffsetFromCount(c)), c);
    }
}

TEST(FuelThresholdConversion, InvertedOnlyForFuelType1) {
    EXPECT_EQ(fuelThresholdOnWire(60, 1), 0xC3);
    EXPECT_EQ(fuelThresholdOnWire(0xC3, 1), 60);
    EXPECT_EQ(fuelThresholdOnWire(60, 0), 60);
    EXPECT_EQ(fuelThresholdOnWire(60, 2), 60);
}
