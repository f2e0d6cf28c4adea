#include "ui/pages/charts/chart_channels.h"

#include "visible_series.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace torva {
namespace {

constexpr std::uint16_t kCountsFlag = 0x08;

TEST(ChartChannels, EverySeriesHasOneChannelAndEveryChannelABox) {
    std::set<int> series;
    for (const SChartChannel& channel : chartChannels()) {
        EXPECT_TRUE(series.insert(channel.series).second) << channel.series;
        EXPECT_GE(channel.recordColumn, 1);
        EXPECT_LE(channel.recordColumn, 28);
    }
    EXPECT_EQ(series.size(), 21u);
    std::set<int> boxed;
    for (const SChartCheckBox& box : chartCheckBoxes()) {
        for (std::uint16_t flags : {std::uint16_t{0}, kCountsFlag}) {
            for (int id : seriesOfCheckBox(box.box, flags)) {
                EXPECT_TRUE(series.count(id)) << id;
                boxed.insert(id);
            }
        }
    }
    EXPECT_EQ(boxed, series);
}

TEST(ChartChannels, ColumnValuesBecomeStoredYAndLabelBack) {
    CScrollChartModel chart;
    setUpChartSeries(chart);
    const SChartChannel& pressure = *chartChannel(2);
    EXPECT_DOUBLE_EQ(chartYOfColumnValue(pressure, 200.0), 51.0); // kPa column, bar scale
    EXPECT_EQ(chart.labelOf(2, 51.0), "2.0");
    const SChartChannel& gas = *chartChannel(4);
    EXPECT_DOUBLE_EQ(chartYOfColumnValue(gas, -10.0), -9.0);
    EXPECT_EQ(chart.labelOf(4, -9.0), "-10");
    EXPECT_DOUBLE_EQ(chartYOfColumnValue(*chartChannel(0), 2500.0), 26.0);
    EXPECT_EQ(chart.labelOf(0, 26.0), "2500");
    EXPECT_EQ(chartChannel(6), nullptr);
}

TEST(ChartCheckBoxes, StartWithRpmGasTimeAndPressureShown) {
    CScrollChartModel chart;
    setUpChartSeries(chart);
    EXPECT_TRUE(visibleSeries(chart).empty());
    applyStartStates(chart, 0);
    EXPECT_EQ(visibleSeries(chart), (std::set<int>{0, 1, 2}));
}

TEST(ChartCheckBoxes, Emulator3ShowsOneFormOfSignals5And6ByTheCountsFlag) {
    CScrollChartModel chart;
    setUpChartSeries(chart);
    applyCheckBox(chart, EChartBox::Emulator3, true, 0);
    EXPECT_EQ(visibleSeries(chart), (std::set<int>{11, 12}));
    applyCheckBox(chart, EChartBox::Emulator3, true, 0x08 | 0x02);
    EXPECT_EQ(visibleSeries(chart), (std::set<int>{25, 26}));
    applyCheckBox(chart, EChartBox::Emulator3, false, kCountsFlag);
    EXPECT_TRUE(visibleSeries(chart).empty());

    applyCheckBox(chart, EChartBox::Emulator1, true, 0);
    applyCheckBox(chart, EChartBox::TpsDigital2, true, 0);
    applyCheckBox(chart, EChartBox::Thermocouple, true, 0);
    EXPECT_EQ(visibleSeries(chart), (std::set<int>{7, 8, 15, 23, 24}));
}

TEST(ChartFeed, LivePointsAre5ApartAndRecordings6ApartWithTheReadOut) {
    CScrollChartModel chart;
    setUpChartSeries(chart);
    CChartFeed feed;
    std::map<int, double> sample{{4, 2500.0}, {6, 200.0}, {8, -10.0}};
    auto column = [&](int c) { return sample.count(c) ? sample.at(c) : 0.0; };

    // One call per refresh is one point per series, however many samples came in between.
    EXPECT_TRUE(feed.addLivePoint(chart, column));
    EXPECT_TRUE(feed.addLivePoint(chart, column));
    EXPECT_EQ(chart.series(2)->points.size(), 2u);
    EXPECT_EQ(chart.series(2)->points.back().x, 5.0);
    EXPECT_DOUBLE_EQ(chart.series(2)->points.back().y, 51.0);
    EXPECT_DOUBLE_EQ(chart.series(4)->points.back().y, -9.0);
    EXPECT_EQ(chart.pointCount(), 42u);

    feed.showRecording(chart);
    EXPECT_EQ(chart.pointCount(), 0u);
    EXPECT_TRUE(chart.readOut());
    for (int record = 0; record < 3; ++record) {
        feed.addRecordPoint(chart, column);
    }
    EXPECT_EQ(chart.series(0)->points.back().x, 12.0);
    EXPECT_EQ(feed.nextX(), 18.0);
    // Live points wait while the recording is shown.
    EXPECT_FALSE(feed.addLivePoint(chart, column));
    EXPECT_EQ(chart.series(0)->points.size(), 3u);

    feed.restartLive(chart);
    EXPECT_EQ(chart.pointCount(), 0u);
    EXPECT_FALSE(chart.readOut());
    EXPECT_EQ(feed.nextX(), 0.0);
    EXPECT_TRUE(feed.addLivePoint(chart, column));
    EXPECT_EQ(chart.series(0)->points.front().x, 0.0);
}

} // namespace
} // namespace torva
