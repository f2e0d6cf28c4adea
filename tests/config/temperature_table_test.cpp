#include "config/temperature_table.h"

#include <gtest/gtest.h>

using namespace torva;

TEST(TemperatureTable, ReadsTheListedEntriesOfEveryColumn) {
    struct Row {
        int code;
        double type0, type1, type2, type3;
    };
    // Both ends and one inner entry of each column.
    for (const Row& row :
         {Row{0, 209, 203, 203, 255}, Row{100, 49, 38, 29, 13}, Row{255, -36, -40, -41, -47}}) {
        const auto code = static_cast<std::uint8_t>(row.code);
        EXPECT_EQ(temperatureFromCode(code, 0), row.type0) << row.code;
        EXPECT_EQ(temperatureFromCode(code, 1), row.type1) << row.code;
        EXPECT_EQ(temperatureFromCode(code, 2), row.type2) << row.code;
        EXPECT_EQ(temperatureFromCode(code, 3), row.type3) << row.code;
    }
}

TEST(TemperatureTable, WritesTheFirstCodeAtOrBelowTheWantedTemperature) {
    EXPECT_EQ(codeFromTemperature(35, 0), 132);
    EXPECT_EQ(codeFromTemperature(77, 0), 52); // 77 is listed twice; the first one wins
    EXPECT_EQ(codeFromTemperature(76.5, 0), 54);
    EXPECT_EQ(codeFromTemperature(0, 1), 199);
    EXPECT_EQ(codeFromTemperature(80, 2), 22);
    EXPECT_EQ(codeFromTemperature(-20, 3), 197);
    EXPECT_EQ(codeFromTemperature(300, 3), 0);
}

TEST(TemperatureTable, ColderThanTheWholeColumnGetsTheColdestCode) {
    for (std::uint8_t type = 0; type < kTemperatureSensorTypes; ++type) {
        EXPECT_EQ(codeFromTemperature(-60, type), 255) << int(type);
        EXPECT_LT(temperatureFromCode(codeFromTemperature(-60, type), type), 0) << int(type);
    }
    EXPECT_EQ(codeFromTemperature(-36.5, 0), 255);
    EXPECT_EQ(codeFromTemperature(-36, 0), 255);
}

TEST(TemperatureTable, EveryCodeReachesAStableCodeOfTheSameTemperature) {
    for (std::uint8_t type = 0; type < kTemperatureSensorTypes; ++type) {
        for (int code = 0; code < 256; ++code) {
            const double celsius = temperatureFromCode(static_cast<std::uint8_t>(code), type);
            const std::uint8_t written = codeFromTemperature(celsius, type);
            ASSERT_LE(written, code);
            ASSERT_EQ(temperatureFromCode(written, type), celsius);
        }
    }
}

TEST(TemperatureTable, UnknownSensorTypeUsesTheFactoryColumn) {
    EXPECT_EQ(temperatureFromCode(32, 9), temperatureFromCode(32, 0));
    EXPECT_EQ(codeFromTemperature(35, 200), codeFromTemperature(35, 0));
}
