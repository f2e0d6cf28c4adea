#include "config/block_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace torva;

// Answers are routed to blocks by their code, so codes and read sub-codes must be unique.
TEST(BlockTable, CodesIdentifyTheirBlocks) {
    std::set<int> codes;
    std::set<int> subCodes;
    for (const SBlockInfo& info : blockTable()) {
        EXPECT_TRUE(codes.insert(info.code).second) << info.name;
        EXPECT_TRUE(subCodes.insert(info.readSubCode).second) << info.name;
        EXPECT_EQ(blockFromCode(info.code), info.block) << info.name;
        EXPECT_LE(info.size, kMaxBlockSize) << info.name;
    }
    EXPECT_EQ(blockFromCode(2), std::nullopt); // the acknowledgement, not a block
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
