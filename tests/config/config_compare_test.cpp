#include "config/config_compare.h"
#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/settings_io.h"
#include "config/settings_keys.h"
#include "settings_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace torva;
using torva::test::CTempFolder;
using torva::test::writeBytes;

namespace {

std::string keyOf(std::size_t index) {
    return settingsKeys()[index].key;
}

class ConfigCompare : public ::testing::Test {
protected:
    ConfigCompare() {
        m_live.m_devInfo.m_deviceID = kDeviceType25;
        m_live.m_devInfo.m_version = 0x110;
        m_live.m_devInfo.m_serial = "DI001";
    }

    SConfigSnapshot fileSnapshot(const CDeviceConfig& record) {
        const std::string path = m_folder.file("other.dsettings");
        EXPECT_TRUE(writeSettings(path, record));
        std::string failure;
        std::optional<SConfigSnapshot> snapshot = snapshotOfFile(path, failure);
        EXPECT_TRUE(snapshot) << failure;
        return snapshot.value_or(SConfigSnapshot{});
    }

    CTempFolder m_folder;
    CDeviceConfig m_live{kDeviceType25};
};

} // namespace

TEST_F(ConfigCompare, ExportedFileEqualsItsRecordAtFilePrecisionWhateverItsIdentity) {
    m_live.m_base.m_pressureGain = 1.0 / 3.0; // more digits than the file keeps
    CDeviceConfig other = m_live;
    other.m_devInfo.m_serial = "ANOTHER";
    other.m_devInfo.m_statistic.gas = 12345;
    other.m_timeStamp = "01-01-2020-00:00:00";
    const SConfigDiff diff = compareConfigurations(snapshotOf(m_live), fileSnapshot(other));
    EXPECT_TRUE(diff.identical());
    EXPECT_TRUE(diff.apart.empty());
}

TEST_F(ConfigCompare, ReportsAMapCellAndNumbersWrittenWithTrailingZerosAsEqual) {
    const std::string path = m_folder.file("edited.dsettings");
    ASSERT_TRUE(writeSettings(path, m_live));
    std::string text = torva::test::readBytes(path);
    const auto replace = [&text](const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace("m_base.m_switchRPM\t1200\r\n", "m_base.m_switchRPM\t1200.00\r\n");
    replace("m_mapEmu3[12][7]\t0\r\n", "m_mapEmu3[12][7]\t-7.5\r\n");
    replace("m_tempomatSetup.m_rpmDetect\t", "unknown.key\t");
    writeBytes(path, text);

    std::string failure;
    const SConfigDiff diff =
        compareConfigurations(snapshotOf(m_live), *snapshotOfFile(path, failure));
    ASSERT_EQ(diff.differences.size(), 1u);
    EXPECT_EQ(keyOf(diff.differences[0].keyIndex), "m_mapEmu3[12][7]");
    EXPECT_EQ(diff.differences[0].second, -7.5);
    ASSERT_EQ(diff.apart.size(), 1u);
    EXPECT_EQ(keyOf(diff.apart[0].keyIndex), "m_tempomatSetup.m_rpmDetect");
    EXPECT_EQ(diff.apart[0].reason, EApartReason::NotInSecond);
    const std::optional<SKeyCell> cell = keyCell("m_mapEmu3[12][7]");
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->row, 12);
    EXPECT_EQ(cell->column, 7);
}

TEST_F(ConfigCompare, TypeThreeFileAgainstTypeTwentyFiveControllerSetsTypeOnlyGroupsApart) {
    CDeviceConfig typeThree(kDeviceType3);
    typeThree.m_devInfo.m_deviceID = kDeviceType3;
    typeThree.m_base.m_switchRPM = 1500; // m_minVCC differs too (10 V), but a load sets it
    const SConfigDiff diff = compareConfigurations(snapshotOf(m_live), fileSnapshot(typeThree));

    std::vector<std::string> differing;
    for (const SKeyDifference& difference : diff.differences)
        differing.push_back(keyOf(difference.keyIndex));
    EXPECT_EQ(differing, std::vector<std::string>{"m_base.m_switchRPM"});
    std::vector<std::string> apart;
    for (const SApartGroup& group : apartGroups(diff)) {
        EXPECT_EQ(group.reason, EApartReason::DeviceType);
        apart.push_back(std::string(diffGroups()[group.group].prefix));
    }
    EXPECT_EQ(apart, (std::vector<std::string>{"m_adv", "m_mapTimeEmuTpsD", "m_mapEmuTpsD",
                                               "m_mapCoordinatesEmuTpsD"}));
}

TEST_F(ConfigCompare, OldFirmwareHasNoServiceOrTempomatGroupAndUnreadableFilesSayWhy) {
    m_live.m_devInfo.m_version = 0x101;
    CDeviceConfig other = m_live;
    other.m_serviceSetup.m_maxRpm += 100;
    const SConfigDiff diff = compareConfigurations(snapshotOf(m_live), snapshotOf(other));
    EXPECT_TRUE(diff.identical());
    const std::vector<SApartGroup> apart = apartGroups(diff);
    ASSERT_EQ(apart.size(), 2u);
    EXPECT_EQ(apart[0].reason, EApartReason::Firmware);
    EXPECT_EQ(apart[0].keys, 15u);

    std::string failure;
    EXPECT_FALSE(snapshotOfFile(m_folder.file("missing.dsettings"), failure));
    EXPECT_NE(failure.find("missing.dsettings: No such file"), std::string::npos) << failure;
    writeBytes(m_folder.file("notes.dsettings"), "shopping\tlist\r\n");
    EXPECT_FALSE(snapshotOfFile(m_folder.file("notes.dsettings"), failure));
    EXPECT_NE(failure.find("known controller type"), std::string::npos) << failure;
    EXPECT_FALSE(snapshotOfFile(m_folder.path(), failure));
    EXPECT_NE(failure.find(": not a regular file"), std::string::npos) << failure;
}

TEST_F(ConfigCompare, RecordOfAFileTakesItsNumbersAndKeepsWhatAMemberCannotHold) {
    CDeviceConfig other = m_live;
    other.m_mapCoordinatesEmu2[3] += 0.5;
    other.m_base.m_flags = m_live.m_base.m_flags ^ 0x02; // the load headers' percent bit
    SConfigSnapshot snapshot = snapshotOf(other);
    const auto index = [](std::string_view key) {
        const auto& keys = settingsKeys();
        return static_cast<std::size_t>(
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.key == key; }) -
            keys.begin());
    };
    snapshot.numbers[index("m_base.m_switchRPM")] = std::nullopt; // not carried
    snapshot.numbers[index("m_sensorsSetup.m_fuelFull")] = 300;   // no byte holds it

    const CDeviceConfig record = recordOf(snapshot, m_live);
    EXPECT_EQ(record.m_mapCoordinatesEmu2, other.m_mapCoordinatesEmu2);
    EXPECT_EQ(record.m_base.m_flags, other.m_base.m_flags);
    EXPECT_EQ(record.m_base.m_switchRPM, m_live.m_base.m_switchRPM);
    EXPECT_EQ(record.m_sensorsSetup.m_fuelFull, m_live.m_sensorsSetup.m_fuelFull);
}
