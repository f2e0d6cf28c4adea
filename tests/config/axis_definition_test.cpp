#include "config/axis_definition.h"

#include <gtest/gtest.h>

using namespace torva;

namespace {

LoadAxis expectedLoad(std::initializer_list<double> points) {
    LoadAxis axis{};
    std::copy(points.begin(), points.end(), axis.begin());
    return axis;
}

TEST(AxisDefinition, UniformAndPreciseLoadAxes) {
    // A sixteenth of the span per step; the last gap is two steps.
    EXPECT_EQ(generateLoadAxis(0.5, 4.5, EAxisScale::Uniform, false),
              expectedLoad(
                  {0.5, 0.75, 1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.25, 3.5, 3.75, 4, 4.5}));
    EXPECT_EQ(generateLoadAxis(0, 100, EAxisScale::Precise, false),
              expectedLoad({0, 2.5, 5, 7.5, 10, 12.5, 15, 17.5, 20, 22.5, 50, 73.33, 80, 86.67,
                            93.33, 100}));
    // Whole-number axes keep whole numbers to the last point.
    const LoadAxis whole = generateLoadAxis(10, 85.4, EAxisScale::Uniform, true);
    EXPECT_EQ(whole[1], 15);
    EXPECT_EQ(whole[15], 85);
}

TEST(AxisDefinition, RpmAxisInWholeHundredsEndingWhereTheControllerKeepsIt) {
    const RpmAxis axis = generateRpmAxis(800, 4000);
    EXPECT_EQ(axis, (RpmAxis{800, 1000, 1200, 1400, 1700, 1900, 2100, 2300, 2500, 2700, 2900, 3100,
                             3400, 3600, 4000}));
    // The controller keeps hundreds only: a typed 4040 ends the axis at 4000, not 4040.
    EXPECT_EQ(generateRpmAxis(800, 4040)[14], 4000);
    EXPECT_EQ(generateRpmAxis(800, 4050)[14], 4100);
}

TEST(AxisDefinition, RangesTheDialogsRefuse) {
    EXPECT_EQ(checkRpmRange(800, 1400), EAxisFault::MaxRpmOutOfRange); // above the minimum
    EXPECT_EQ(checkRpmRange(400, 3000), EAxisFault::MinRpmOutOfRange);
    EXPECT_EQ(checkRpmRange(3000, 2000), EAxisFault::RpmSpanNegative);
    EXPECT_EQ(checkRpmRange(800, 4000), EAxisFault::None);
    // Rounded to hundreds, 1500-1600 repeats points; the grid needs them rising.
    EXPECT_EQ(checkRpmRange(1500, 1600), EAxisFault::RpmPointsNotRising);
    EXPECT_EQ(smallestRisingMaxRpm(1500), 2943);
    EXPECT_EQ(checkRpmRange(1500, 2942), EAxisFault::RpmPointsNotRising);
    for (double maxRpm = 2943; maxRpm <= kRpmHighest; maxRpm += 1)
        ASSERT_EQ(checkRpmRange(1500, maxRpm), EAxisFault::None) << maxRpm;
    EXPECT_EQ(smallestRisingMaxRpm(5000), std::nullopt);

    SEmuDefinition definition{0.5, 4.5, 800, 4000, EAxisScale::Uniform};
    EXPECT_EQ(checkEmuDefinition(definition, true), EAxisFault::None);
    definition.maxValue = 0.5; // a flat axis
    EXPECT_EQ(checkEmuDefinition(definition, true), EAxisFault::ValueSpanNotRising);
    EXPECT_EQ(checkLoadRange(100, 100), EAxisFault::MinValueOutOfRange);
    EXPECT_EQ(checkLoadRange(0, 100.5), EAxisFault::MaxValueOutOfRange);
    // Pages that do not build the RPM axis check only its field limits.
    const SEmuDefinition narrowRpm{0.5, 4.5, 1500, 1600, EAxisScale::Uniform};
    EXPECT_EQ(checkEmuDefinition(narrowRpm, false), EAxisFault::None);
    EXPECT_EQ(checkEmuDefinition(narrowRpm, true), EAxisFault::RpmPointsNotRising);
}

TEST(AxisDefinition, WhatEachChannelDefines) {
    CDeviceConfig config;
    const SEmuDefinition definition{0, 100, 800, 4000, EAxisScale::Precise};
    const std::optional<SNewAxes> first = defineAxes(config, EEmuChannel::Emu1, definition, true);
    ASSERT_TRUE(first && first->load && first->rpm);
    EXPECT_FALSE(defineAxes(config, EEmuChannel::Emu2, definition, true)->rpm);

    // Channel 3 with raw TPS counts: whole numbers.
    config.m_tempomatSetup.m_tempomatFlags = kTempomatRawTpsFlag;
    EXPECT_EQ((*defineAxes(config, EEmuChannel::Emu3, definition, false)->load)[11], 73);

    // The digital-TPS axis is uniform whatever the dialog says, and unchanged end points change
    // nothing.
    const LoadAxis tpsD = *defineAxes(config, EEmuChannel::TpsDigital, definition, false)->load;
    EXPECT_EQ(tpsD, generateLoadAxis(0, 100, EAxisScale::Uniform, true));
    config.m_mapCoordinatesEmuTpsD = tpsD;
    EXPECT_EQ(defineAxes(config, EEmuChannel::TpsDigital, definition, false), std::nullopt);
}

} // namespace
