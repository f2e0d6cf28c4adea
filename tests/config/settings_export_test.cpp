#include "config/data_folders.h"
#include "config/device_type.h"
#include "config/settings_export.h"
#include "environment_guard.h"
#include "settings_test_files.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <unistd.h>

using namespace torva;
using torva::test::CEnvironmentGuard;
using torva::test::CRecordingUi;
using torva::test::CTempFolder;
using torva::test::readBytes;
using torva::test::writeBytes;

namespace {

// 7 March 2014, 15:04:09 UTC.
const auto kExportTime = std::chrono::system_clock::from_time_t(1394204649);

class SettingsExport : public ::testing::Test {
protected:
    std::string settingsPath() const { return m_home.path() + "/Documents/TORVA DIESEL/Settings/"; }

    CTempFolder m_home;
    CEnvironmentGuard m_homeVariable{"HOME", m_home.path()};
    CEnvironmentGuard m_configVariable{"XDG_CONFIG_HOME", m_home.path() + "/.config"};
    CEnvironmentGuard m_timeZone{"TZ", "UTC0"};
    CRecordingUi m_ui;
    CDeviceConfig m_live{kDeviceType3};
};

} // namespace

TEST_F(SettingsExport, StampsTheLiveRecordAndWritesItWhereTheUserChose) {
    const std::string path = m_home.file("car.dsettings");
    m_ui.queueFile(path);
    EXPECT_EQ(exportSettings(m_live, kExportTime), EExportResult::Saved);

    EXPECT_EQ(m_live.m_timeStamp, "07-03-2014-15:04:09");
    EXPECT_TRUE(readBytes(path).starts_with("m_timeStamp\t07-03-2014-15:04:09\r\n"));
    EXPECT_TRUE(m_ui.messages().empty());

    ASSERT_EQ(m_ui.fileChoices().size(), 1u);
    const SFileChoice choice = m_ui.fileChoices().front();
    EXPECT_TRUE(choice.save);
    EXPECT_EQ(choice.folder, settingsPath());
    EXPECT_TRUE(std::filesystem::is_directory(settingsPath()));
    EXPECT_EQ(choice.defaultName, "");
    EXPECT_EQ(choice.defaultExtension, "dsettings");
    EXPECT_EQ(choice.filter, "Settings file (*.dsettings)|*.dsettings|");
}

TEST_F(SettingsExport, CancelWritesNothingButKeepsTheStamp) {
    EXPECT_EQ(exportSettings(m_live, kExportTime), EExportResult::Cancelled);
    EXPECT_EQ(m_live.m_timeStamp, "07-03-2014-15:04:09");
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_TRUE(std::filesystem::is_empty(settingsPath()));
}

TEST_F(SettingsExport, FailureIsReportedAndTheOldFileSurvives) {
    // The target is a folder: the new file can be written but not put in its place.
    const std::string folderTarget = m_home.file("taken.dsettings");
    std::filesystem::create_directories(folderTarget + "/inside");
    m_ui.queueFile(folderTarget);
    EXPECT_EQ(exportSettings(m_live, kExportTime), EExportResult::Failed);
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget + "/inside"));

    // A folder that does not exist.
    const std::string missing = m_home.file("missing/car.dsettings");
    m_ui.queueFile(missing);
    EXPECT_EQ(exportSettings(m_live, kExportTime), EExportResult::Failed);

    // Each message names the file and why it was not written.
    const auto messages = m_ui.messages();
    ASSERT_EQ(messages.size(), 2u);
    const std::string text = "Nie można wpisać ustawień do pliku z danymi samochodu\n";
    EXPECT_EQ(messages[0].text, text + folderTarget + ": not a regular file");
    EXPECT_EQ(messages[1].text, text + missing + ": No such file or directory");
    for (const auto& shown : messages) {
        EXPECT_EQ(shown.caption, "TORVA");
        EXPECT_EQ(shown.icon, EIcon::Error);
    }
}

TEST_F(SettingsExport, UnwritableFolderLeavesTheExistingFileIntact) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the super-user";
    const std::string folder = m_home.file("locked");
    std::filesystem::create_directories(folder);
    writeBytes(folder + "/car.dsettings", "the previous export");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    m_ui.queueFile(folder + "/car.dsettings");
    EXPECT_EQ(exportSettings(m_live, kExportTime), EExportResult::Failed);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(readBytes(folder + "/car.dsettings"), "the previous export");
}

TEST_F(SettingsExport, LoadDialogStartsInTheSettingsFolder) {
    m_ui.queueFile("/some/where.dsettings");
    EXPECT_EQ(chooseSettingsFileToLoad(), "/some/where.dsettings");
    ASSERT_EQ(m_ui.fileChoices().size(), 1u);
    EXPECT_FALSE(m_ui.fileChoices().front().save);
    EXPECT_EQ(m_ui.fileChoices().front().folder, settingsPath());
    EXPECT_EQ(m_ui.fileChoices().front().filter, "Settings file (*.dsettings)|*.dsettings|");
    EXPECT_EQ(diagnosticFolder(), m_home.path() + "/Documents/TORVA DIESEL/Diag/");
    EXPECT_TRUE(std::filesystem::is_directory(diagnosticFolder()));
}
