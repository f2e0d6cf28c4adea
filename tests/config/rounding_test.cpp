#include "config/conversions.h"
#include "config/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace torva;

TEST(Rounding, HalvesGoAwayFromZeroOnBothSides) {
    EXPECT_EQ(round0(2.5), 3.0);
    EXPECT_EQ(round0(-2.5), -3.0);
    EXPECT_EQ(round0(2.49), 2.0);
    EXPECT_EQ(round1(0.05), 0.1);
    EXPECT_EQ(round1(-0.05), -0.1);
    EXPECT_EQ(round2(1.005), 1.01); // 1.005 is held as 1.00499999999999989...
    EXPECT_EQ(round2(-1.005), -1.01);
    EXPECT_EQ(round1(0.15), 0.2);
}

TEST(Rounding, NegativeValuesAreNotPushedOneStepFurtherFromZero) {
    EXPECT_EQ(round1(-1.0), -1.0);
    EXPECT_EQ(round2(-0.5), -0.5);
    EXPECT_EQ(round3(-0.17946), -0.179);
    EXPECT_EQ(round3(-7.657337), -7.657);
    EXPECT_EQ(round0(-3.0), -3.0);
}

TEST(Rounding, ZeroResultIsNeverNegativeZero) {
    for (double x : {-0.04, -0.0, -0.004}) {
        EXPECT_EQ(round1(x), 0.0) << x;
        EXPECT_FALSE(std::signbit(round1(x))) << x;
    }
    EXPECT_FALSE(std::signbit(round2(-0.004)));
    EXPECT_FALSE(std::signbit(round3(-0.0004)));
    EXPECT_FALSE(std::signbit(round0(-0.3)));
    EXPECT_FALSE(std::signbit(truncateTowardZero(-0.7)));
}

// Every decimal with three places, rounded to two, compared with integer arithmetic on the
// decimal digits: catches any binary-representation half that rounds the wrong way.
TEST(Rounding, MatchesDecimalArithmeticOverAWideSweep) {
    for (int thousandths = -200000; thousandths <= 200000; ++thousandths) {
        const double x = thousandths / 1000.0;
        const int sign = thousandths < 0 ? -1 : 1;
        const int hundredths = sign * ((std::abs(thousandths) + 5) / 10);
        ASSERT_EQ(round2(x), hundredths / 100.0) << x;
        const int tenths = sign * ((std::abs(thousandths) + 50) / 100);
        ASSERT_EQ(round1(x), tenths / 10.0) << x;
        const int whole = sign * ((std::abs(thousandths) + 500) / 1000);
        ASSERT_EQ(round0(x), static_cast<double>(whole)) << x;
    }
}

TEST(Rounding, TruncationIgnoresBinaryNoiseBelowAWholeNumber) {
    double sum = 0;
    for (int step = 0; step < 8; ++step) {
        sum += 0.1; // 0.7999999999999999 after eight steps
    }
    EXPECT_EQ(truncateTowardZero(sum * 10), 8.0);
    EXPECT_EQ(truncateTowardZero(2.99), 2.0);
    EXPECT_EQ(truncateTowardZero(-2.7), -2.0);
}

TEST(Rounding, FieldsClampInsteadOfWrapping) {
    EXPECT_EQ(toByte(300), 255);
    EXPECT_EQ(toByte(-1), 0);
    EXPECT_EQ(toByte(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(toByte(std::numeric_limits<double>::infinity()), 255);
    EXPECT_EQ(toWord(75000), 65535);
    EXPECT_EQ(toWord(1234), 1234);
    EXPECT_EQ(toDword(-5), 0u);
    EXPECT_EQ(toDword(4294967295.0), 4294967295u);
    EXPECT_EQ(toDword(1e12), 4294967295u);
}

TEST(Rounding, EveryClampedValueIsCountedAndNothingElse) {
    const std::uint64_t before = clampedStoreCount();
    toByte(0);
    toByte(255);
    toWord(65535);
    toDword(-0.0);
    periodFromRpm(1200);
    EXPECT_EQ(clampedStoreCount(), before);
    toByte(256);
    toWord(-1);
    toDword(std::numeric_limits<double>::quiet_NaN());
    periodFromRpm(0); // a speed without a period
    EXPECT_EQ(clampedStoreCount(), before + 4);
}
