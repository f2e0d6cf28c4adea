#include "config/block_codec.h"
#include "config/device_type.h"
#include "config/settings_backup.h"
#include "config/settings_io.h"
#include "environment_guard.h"
#include "settings_test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace torva;
using torva::test::CEnvironmentGuard;
using torva::test::CTempFolder;
using torva::test::readBytes;
using torva::test::writeBytes;

namespace {

// 7 March 2014, 15:04:09 UTC.
const auto kBackupTime = std::chrono::system_clock::from_time_t(1394204649);

class SettingsBackup : public ::testing::Test {
protected:
    SettingsBackup() {
        m_live.m_devInfo.m_modelName = "KARMEL A2";
        m_live.m_devInfo.m_serial = "DI001";
        m_live.m_devInfo.m_deviceID = kDeviceType25;
        m_live.m_timeStamp = "01-01-2010-00:00:00";
        m_live.m_base.m_switchRPM = 1750;
        m_live.m_mapEmu2[1][3] = 42;
    }

    std::string folder() const { return m_folder.path() + "/"; }

    CTempFolder m_folder;
    CEnvironmentGuard m_timeZone{"TZ", "UTC0"};
    CDeviceConfig m_live{kDeviceType25};
};

} // namespace

TEST_F(SettingsBackup, NamesTheFileAfterTheControllerAndTimeWithSafeCharactersOnly) {
    EXPECT_EQ(settingsBackupName(m_live.m_devInfo, kBackupTime, EBackupReason::FileLoad),
              "KARMEL_A2_DI001_20140307-150409+0000_load");
    SDevInfo odd;
    odd.m_modelName = "../A/B:C*?";
    odd.m_serial = std::string("\x01\"<>|\\", 6);
    EXPECT_EQ(settingsBackupName(odd, kBackupTime, EBackupReason::FileLoad),
              std::string("x.._A_B_C__") + "_" + "______" + "_20140307-150409+0000_load");
    EXPECT_EQ(settingsBackupName(SDevInfo{}, kBackupTime, EBackupReason::Firmware),
              "x_x_20140307-150409+0000_firmware");
    odd.m_serial = std::string(300, 'Z');
    EXPECT_LT(settingsBackupName(odd, kBackupTime, EBackupReason::FileLoad).size(), 100u);
}

TEST_F(SettingsBackup, WritesTheLiveConfigurationAsALoadableSettingsFile) {
    const CDeviceConfig before = m_live;
    const SSettingsBackup backup =
        writeSettingsBackup(folder(), m_live, kBackupTime, EBackupReason::FileLoad);
    ASSERT_TRUE(backup.written) << backup.failure;
    EXPECT_EQ(backup.path, folder() + "KARMEL_A2_DI001_20140307-150409+0000_load.dsettings");
    EXPECT_EQ(m_live, before); // the live record keeps its own time stamp

    CDeviceConfig readBack(kDeviceType25);
    ASSERT_TRUE(readSettings(backup.path, readBack, kDeviceType25));
    EXPECT_EQ(readBack.m_timeStamp, "07-03-2014-15:04:09");
    readBack.m_devInfo = m_live.m_devInfo;
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        const auto block = static_cast<EBlock>(i);
        EXPECT_EQ(encodeBlock(block, readBack), encodeBlock(block, m_live)) << i;
    }
}

TEST_F(SettingsBackup, BackupsInTheSameSecondNeverReplaceEachOther) {
    const SSettingsBackup first =
        writeSettingsBackup(folder(), m_live, kBackupTime, EBackupReason::FileLoad);
    const std::string firstBytes = readBytes(first.path);
    m_live.m_base.m_switchRPM = 2000;
    const SSettingsBackup second =
        writeSettingsBackup(folder(), m_live, kBackupTime, EBackupReason::FileLoad);
    const SSettingsBackup third =
        writeSettingsBackup(folder(), m_live, kBackupTime, EBackupReason::FileLoad);

    ASSERT_TRUE(first.written && second.written && third.written);
    EXPECT_EQ(second.path, folder() + "KARMEL_A2_DI001_20140307-150409+0000_load_2.dsettings");
    EXPECT_EQ(third.path, folder() + "KARMEL_A2_DI001_20140307-150409+0000_load_3.dsettings");
    EXPECT_EQ(readBytes(first.path), firstBytes);
    EXPECT_NE(readBytes(second.path), firstBytes);
}

TEST_F(SettingsBackup, UnwritableFolderReportsThePathAndReasonAndLeavesNothing) {
    writeBytes(m_folder.file("Backup"), "a file where the folder should be");
    const SSettingsBackup backup = writeSettingsBackup(m_folder.file("Backup") + "/", m_live,
                                                       kBackupTime, EBackupReason::FileLoad);
    EXPECT_FALSE(backup.written);
    EXPECT_EQ(backup.path,
              m_folder.file("Backup") + "/KARMEL_A2_DI001_20140307-150409+0000_load.dsettings");
    EXPECT_FALSE(backup.failure.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SettingsBackupList, ThisControllersBackupsNewestFirstAcrossADaylightSavingChange) {
    const CEnvironmentGuard timeZone("TZ", "Europe/Warsaw");
    CTempFolder folder;
    const std::string path = folder.path() + "/";
    CDeviceConfig live(kDeviceType25);
    live.m_devInfo.m_modelName = "KARMEL A2";
    live.m_devInfo.m_serial = "DI001";
    // 25 October 2026: clocks go back from 03:00 CEST to 02:00 CET at 01:00 UTC, so the later
    // backup has the earlier wall-clock time.
    const auto beforeChange = std::chrono::system_clock::from_time_t(1792888200); // 00:30 UTC
    const auto afterChange = std::chrono::system_clock::from_time_t(1792890600);  // 01:10 UTC
    ASSERT_TRUE(writeSettingsBackup(path, live, beforeChange, EBackupReason::Firmware).written);
    ASSERT_TRUE(writeSettingsBackup(path, live, afterChange, EBackupReason::FileLoad).written);
    ASSERT_TRUE(writeSettingsBackup(path, live, afterChange + std::chrono::seconds(1),
                                    EBackupReason::PartialApply)
                    .written);
    writeBytes(path + "KARMEL_A2_DI001_20140307-150409.dsettings", "an earlier version's\t1\r\n");
    live.m_devInfo.m_serial = "DI001_X"; // another controller whose identifier starts alike
    ASSERT_TRUE(writeSettingsBackup(path, live, afterChange, EBackupReason::FileLoad).written);
    live.m_devInfo.m_serial = "DI001";

    std::vector<std::string> names;
    for (const SBackupFile& backup : listSettingsBackups(path, live.m_devInfo))
        names.push_back(backup.fileName);
    EXPECT_EQ(names,
              (std::vector<std::string>{"KARMEL_A2_DI001_20261025-021001+0100_partial.dsettings",
                                        "KARMEL_A2_DI001_20261025-021000+0100_load.dsettings",
                                        "KARMEL_A2_DI001_20261025-023000+0200_firmware.dsettings",
                                        "KARMEL_A2_DI001_20140307-150409.dsettings"}));
    EXPECT_EQ(parseSettingsBackupName(names[0])->reason, EBackupReason::PartialApply);
    EXPECT_FALSE(parseSettingsBackupName(names[3])->reason);
}

TEST(SettingsBackupList, NamesAreReadFromTheirEndAndOthersRefused) {
    const auto first = parseSettingsBackupName("A_B_C_20140307-150409-0130_load.dsettings");
    const auto second = parseSettingsBackupName("A_B_C_20140307-150409-0130_load_2.dsettings");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->owner, "A_B_C");
    EXPECT_EQ(second->reason, EBackupReason::FileLoad);
    EXPECT_EQ(second->when - first->when, std::chrono::milliseconds(1));
    EXPECT_EQ(std::chrono::system_clock::to_time_t(first->when), 1394204649 + 90 * 60);
    for (const char* other : {"A_20140307-150409_unknown.dsettings", "_20140307-150409.dsettings",
                              "A_2014030-150409.dsettings", "A_20140307-150409.txt"})
        EXPECT_FALSE(parseSettingsBackupName(other)) << other;
}
