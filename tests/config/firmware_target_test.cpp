#include "config/firmware_target.h"

#include "platform/folders.h"

#include <gtest/gtest.h>

using namespace torva;

TEST(FirmwareTarget, KnowsTheFourControllerTypes) {
    const auto c1 = firmwareTarget(3);
    ASSERT_TRUE(c1);
    EXPECT_STREQ(c1->subFolder, "KARMEL C1");
    EXPECT_EQ(c1->flashEnd, 39936u);
    EXPECT_EQ(c1->eraseBlock, 1024u);
    EXPECT_EQ(c1->loaderSubCode, 197);

    const auto b2 = firmwareTarget(37);
    ASSERT_TRUE(b2);
    EXPECT_EQ(b2->flashEnd, 173056u);
    EXPECT_EQ(b2->loaderSubCode, 196);
    EXPECT_EQ(firmwareTarget(25)->flashEnd, 57344u);
    EXPECT_STREQ(firmwareTarget(40)->subFolder, "KARMEL B1");

    for (int unknown : {0, 1, 4, 26, 41, -3})
        EXPECT_FALSE(firmwareTarget(unknown)) << unknown;
}

TEST(FirmwareTarget, FolderLiesInTheFirmwareDataFolder) {
    EXPECT_EQ(firmwareFolder(25), programDataFolder("Diesel Firmware") + "KARMEL C2/");
    EXPECT_EQ(firmwareFolder(99), std::nullopt);
}
