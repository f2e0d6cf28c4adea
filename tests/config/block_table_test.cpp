#include "config/block_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace torva;

TEST(BlockTable, CodesSizesAndAttemptsOfEveryBlock) {
    struct Row {
        EBlock block;
        int code, readSubCode, size, readAttempts;
    };
    const Row rows[] = {
        {EBlock::Base, 3, 7, 22, 21},          {EBlock::Advanced, 4, 8, 10, 21},
        {EBlock::Sensors, 9, 14, 8, 21},       {EBlock::Service, 33, 47, 30, 15},
        {EBlock::Tempomat, 40, 55, 20, 15},    {EBlock::TimeMap1, 13, 18, 240, 21},
        {EBlock::EmuMap1, 14, 19, 240, 21},    {EBlock::TimeMap2, 15, 20, 240, 21},
        {EBlock::EmuMap2, 16, 21, 240, 21},    {EBlock::TimeMap3, 17, 22, 240, 21},
        {EBlock::EmuMap3, 18, 23, 240, 21},    {EBlock::TimeMap4, 19, 24, 240, 21},
        {EBlock::EmuMap4, 20, 25, 240, 21},    {EBlock::TimeMapTpsD, 35, 48, 240, 21},
        {EBlock::EmuMapTpsD, 36, 49, 240, 21}, {EBlock::Axes1Rpm, 29, 43, 48, 21},
        {EBlock::Axis2, 30, 44, 32, 21},       {EBlock::Axis3, 31, 45, 32, 21},
        {EBlock::Axis4, 32, 46, 32, 21},       {EBlock::AxisTpsD, 39, 54, 32, 21},
    };
    ASSERT_EQ(std::size(rows), kBlockCount);
    for (const Row& row : rows) {
        const SBlockInfo& info = blockInfo(row.block);
        EXPECT_EQ(info.code, row.code) << info.name;
        EXPECT_EQ(info.readSubCode, row.readSubCode) << info.name;
        EXPECT_EQ(info.size, static_cast<std::size_t>(row.size)) << info.name;
        EXPECT_EQ(info.readAttempts, row.readAttempts) << info.name;
        EXPECT_EQ(info.writeAttempts, 15) << info.name;
        EXPECT_EQ(blockFromCode(info.code), row.block) << info.name;
    }
    EXPECT_EQ(blockFromCode(2), std::nullopt);
}

TEST(BlockTable, MapNumbersRunTimeThenEmulationPerChannel) {
    const EBlock expected[] = {EBlock::TimeMap1,  EBlock::EmuMap1,  EBlock::TimeMap2,
                               EBlock::EmuMap2,   EBlock::TimeMap3, EBlock::EmuMap3,
                               EBlock::TimeMap4,  EBlock::EmuMap4,  EBlock::TimeMapTpsD,
                               EBlock::EmuMapTpsD};
    for (int number = 1; number <= 10; ++number) {
        EXPECT_EQ(blockFromMapNumber(number), expected[number - 1]) << number;
        EXPECT_EQ(blockInfo(expected[number - 1]).mapNumber, number);
    }
    EXPECT_EQ(blockFromMapNumber(0), std::nullopt);
    EXPECT_EQ(blockFromMapNumber(11), std::nullopt);
    EXPECT_EQ(blockInfo(EBlock::Axes1Rpm).mapNumber, 0);
}

TEST(BlockTable, FirmwareAndDeviceTypeGates) {
    EXPECT_FALSE(blockExists(EBlock::Service, 257, 25));
    EXPECT_TRUE(blockExists(EBlock::Service, 258, 25));
    EXPECT_FALSE(blockExists(EBlock::Tempomat, 265, 25));
    EXPECT_TRUE(blockExists(EBlock::Tempomat, 266, 25));
    for (EBlock block : {EBlock::TimeMapTpsD, EBlock::EmuMapTpsD, EBlock::AxisTpsD}) {
        EXPECT_TRUE(blockExists(block, 0x12F, 25));
        EXPECT_TRUE(blockExists(block, 0x12F, 37));
        EXPECT_FALSE(blockExists(block, 0x12F, 3));
        EXPECT_FALSE(blockExists(block, 0x12F, 40));
    }
    EXPECT_TRUE(blockExists(EBlock::Base, 0, 0));
    EXPECT_TRUE(blockExists(EBlock::Axis4, 0, 3));
}

TEST(BlockTable, ReadOrderCoversEveryBlockOnceSensorsFirstTempomatBeforeItsDependants) {
    const auto order = configurationReadOrder();
    EXPECT_EQ(std::set<EBlock>(order.begin(), order.end()).size(), kBlockCount);
    EXPECT_EQ(order.front(), EBlock::Sensors);
    EXPECT_EQ(order[1], EBlock::Base);
    const auto position = [&](EBlock block) {
        return std::find(order.begin(), order.end(), block);
    };
    EXPECT_LT(position(EBlock::Tempomat), position(EBlock::Service));
    EXPECT_LT(position(EBlock::Tempomat), position(EBlock::Axis3));
    EXPECT_EQ(order[16], EBlock::Service);
    EXPECT_EQ(order[17], EBlock::EmuMapTpsD);
    EXPECT_EQ(order[18], EBlock::TimeMapTpsD);
    EXPECT_EQ(order[19], EBlock::AxisTpsD);
    EXPECT_EQ(order[5], EBlock::EmuMap1);
    EXPECT_EQ(order[6], EBlock::EmuMap2); // emulation map 2 before time map 2
}
