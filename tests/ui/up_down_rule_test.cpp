#include "ui/pages/common/up_down_rule.h"

#include <gtest/gtest.h>

using namespace torva;

TEST(UpDownRule, ClampsOrRefusesAtTheRangeEdges) {
    const SUpDownRule clamped{.step = 1, .min = 0, .max = 800, .format = "%.0f"};
    EXPECT_EQ(clamped.stepped(800, 1), 800.0);
    EXPECT_EQ(clamped.stepped(1, -3), 0.0);
    EXPECT_EQ(clamped.stepped(400, 2), 402.0);

    const SUpDownRule refused{
        .step = 20, .min = 500, .max = 4000, .format = "%.0f", .outOfRange = EOutOfRange::Refuse};
    EXPECT_EQ(refused.stepped(3980, 1), 4000.0);
    EXPECT_FALSE(refused.stepped(4000, 1));
    EXPECT_FALSE(refused.stepped(500, -1));
    double field = 500;
    EXPECT_FALSE(refused.stepField(field, -1));
    EXPECT_EQ(field, 500);
}

TEST(UpDownRule, SmallStepsLandOnTheirDecimalsAndShowInTheFormat) {
    const SUpDownRule volts{.step = 0.01, .min = 0, .max = 12, .format = "%.2f"};
    double value = 0;
    for (int click = 0; click < 70; ++click)
        volts.stepField(value, 1);
    EXPECT_EQ(value, 0.7) << "no drift after many clicks";
    EXPECT_EQ(volts.text(value), "0.70");

    const SUpDownRule divider{.step = 1, .min = 1, .max = 200, .format = "%u"};
    unsigned char whole = 199;
    EXPECT_TRUE(divider.stepField(whole, 5));
    EXPECT_EQ(whole, 200);
    EXPECT_EQ(divider.text(whole), "200");
}
