// Recordings binned onto a channel's grid: the same cells the live cursor marks, the channel's
// input column, counts and means per cell, and live samples taken once each.
#include "diag/live_records.h"
#include "diag/map_coverage.h"
#include "link/diag_data.h"
#include "link/lpg_device.h"
#include "maps/map_classes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

using namespace torva;

namespace {

CDeviceConfig axesConfig() {
    CDeviceConfig config;
    for (int c = 0; c < kMapColumns; ++c)
        config.m_mapRpmCoordinatesEmu1[c] = 1000 + 500 * c; // 1000 ... 8000
    for (int r = 0; r < kMapRows; ++r) {
        config.m_mapCoordinatesEmu1[r] = 0.5 + 0.25 * r; // 0.5 ... 4.25 V
        config.m_mapCoordinatesEmu2[r] = 0.5 + 0.25 * r;
        config.m_mapCoordinatesEmu3[r] = 0.5 + 0.25 * r;
        config.m_mapCoordinatesEmu4[r] = 0.5 + 0.25 * r;
        config.m_mapCoordinatesEmuTpsD[r] = 5.0 * r; // 0 ... 75 %
    }
    return config;
}

// A recording line with the given columns set and every other column 0.
std::string line(const std::map<int, double>& columns) {
    std::string text;
    for (int column = 1; column <= kDiagColumns; ++column) {
        const auto found = columns.find(column);
        text += std::to_string(found == columns.end() ? 0.0 : found->second);
        text += column < kDiagColumns ? '\t' : '\n';
    }
    return text;
}

DiagRecord record(const std::map<int, double>& columns) {
    return parseDiagRecords(line(columns)).at(0);
}

} // namespace

TEST(MapCoverage, BinsALineOnTheCellTheLiveCursorMarks) {
    CLPGDevice device;
    device.config() = axesConfig();
    const CMapTime grid(device);
    const CCoverageRule rule(device.config(), 1);
    struct SCase {
        double rpm, load;
        SMapCell cell;
    };
    // A point exactly on an axis point belongs to the next cell; below the first point to the
    // first, at or above the last to the last.
    for (const SCase& check :
         {SCase{999, 0.49, {0, 0}}, SCase{1000, 0.5, {1, 1}}, SCase{1499.9, 0.74, {1, 1}},
          SCase{7999, 4.24, {14, 15}}, SCase{8000, 4.25, {14, 15}}, SCase{12000, 12.0, {14, 15}},
          SCase{0, 0, {0, 0}}, SCase{3250, 2.0, {5, 7}}}) {
        const SMapCell binned =
            rule.cellOf(record({{kEngineSpeedColumn, check.rpm}, {11, check.load}}));
        EXPECT_EQ(binned, check.cell) << check.rpm << " rpm, " << check.load << " V";
        const auto [column, row] = grid.findCell(check.rpm, check.load);
        EXPECT_EQ((SMapCell{column, row}), binned) << "the live cursor marks another cell";
    }
}

TEST(MapCoverage, EachChannelBinsByTheInputItsPageShows) {
    CDeviceConfig config = axesConfig();
    const DiagRecord line =
        record({{kEngineSpeedColumn, 2000}, {11, 1.1}, {13, 2.1}, {15, 3.1}, {17, 4.1}, {23, 41}});
    EXPECT_EQ(CCoverageRule(config, 1).cellOf(line).row, 3);                  // signal 1
    EXPECT_EQ(CCoverageRule(config, 2).cellOf(line).row, 7);                  // MAF: signal 3
    EXPECT_EQ(CCoverageRule(config, 3).cellOf(line).row, 11);                 // signal 5
    EXPECT_EQ(CCoverageRule(config, 4).cellOf(line).row, 15);                 // signal 7
    EXPECT_EQ(CCoverageRule(config, kTpsDigitalChannel).cellOf(line).row, 9); // PWM input 1
    config.m_tempomatSetup.m_tempomatFlags = 0x01; // channel 2 becomes the tempomat's MAP sensor
    EXPECT_EQ(CCoverageRule(config, 2).cellOf(line).row, 3);
    EXPECT_EQ(CCoverageRule(config, 1).cellOf(line).row, 3);
    EXPECT_THROW(CCoverageRule(config, 6), std::out_of_range);
}

TEST(MapCoverage, CountsAndMeansCompleteLinesOfARecording) {
    test::CTempFolder folder;
    const std::string path = folder.file("drive.oscd");
    std::string text;
    for (const double gas : {2.0, 3.0, 4.5})
        text += line({{kEngineSpeedColumn, 1200}, {11, 0.6}, {5, gas}, {19, 300}});
    text += line({{kEngineSpeedColumn, 5000}, {11, 3.0}, {5, 9.0}});
    // Cut short by a pulled plug: read as no line at all.
    const std::string last = line({{kEngineSpeedColumn, 5000}, {11, 3.0}, {5, 9.0}});
    text += last.substr(0, last.rfind('\t'));
    std::ofstream(path, std::ios::binary) << text;

    const CMapCoverage coverage = binRecords(readDiagFile(path), CCoverageRule(axesConfig(), 1));
    EXPECT_EQ(coverage.total(), 4u);
    EXPECT_EQ(coverage.maxCount(), 3);
    EXPECT_EQ(coverage.count({1, 1}), 3);
    EXPECT_EQ(coverage.count({9, 11}), 1);
    EXPECT_DOUBLE_EQ(*coverage.mean({1, 1}, 5), 9.5 / 3);
    EXPECT_DOUBLE_EQ(*coverage.mean({1, 1}, 19), 300);
    EXPECT_DOUBLE_EQ(*coverage.mean({9, 11}, 5), 9.0);
    EXPECT_FALSE(coverage.mean({0, 0}, 5).has_value());
    EXPECT_EQ(coverage.count({0, 0}), 0);
    EXPECT_THROW(coverage.mean({1, 1}, 29), std::out_of_range);
}

TEST(LiveRecordFeed, TakesEverySampleOnceFromItsStartAndFollowsARestartedPoll) {
    CDiagData store;
    const CDeviceConfig config = axesConfig();
    DiagSample sample{};
    sample.m_rpmPeriod = 11000; // 1363.6 rpm, written as 1364
    const auto push = [&](int seq) {
        sample.m_seq = seq;
        store.push(sample);
    };
    push(1);
    push(2);
    CLiveRecordFeed feed;
    feed.start(store);
    std::vector<DiagRecord> records;
    feed.takeNew(store, config, records);
    EXPECT_TRUE(records.empty()) << "samples from before the start were taken";

    push(3);
    push(4);
    feed.takeNew(store, config, records);
    feed.takeNew(store, config, records);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][recordIndexOfColumn(kEngineSpeedColumn)], 1364)
        << "not rounded as the recording writes it";

    store.clear(); // polling started again and counts from 1
    push(1);
    push(2);
    feed.takeNew(store, config, records);
    EXPECT_EQ(records.size(), 4u);
}
