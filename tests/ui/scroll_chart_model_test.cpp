#include "ui/pages/charts/scroll_chart_model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace torva {
namespace {

constexpr SChartRgb kRed{255, 0, 0};

CScrollChartModel chartWithSeries(std::initializer_list<int> ids) {
    CScrollChartModel chart;
    for (int id : ids) {
        chart.addSeries(id, {kRed, "%.1f", 4.0}, true);
    }
    return chart;
}

TEST(ChartStorage, ValuesAreStoredAsPercentOfFullScalePlusOneAndLabelledBack) {
    EXPECT_DOUBLE_EQ(chartYOf(2.0, 4.0), 51.0); // 200 kPa as bar on a 4 bar scale
    EXPECT_DOUBLE_EQ(chartYOf(-10.0, std::nullopt), -9.0);
    EXPECT_DOUBLE_EQ(valueOfChartY(51.0, 4.0), 2.0);
    EXPECT_DOUBLE_EQ(valueOfChartY(-9.0, std::nullopt), -10.0);

    CScrollChartModel chart;
    chart.addSeries(2, {kRed, "%.1f", 4.0});
    chart.addSeries(4, {kRed, "%.0f", std::nullopt});
    EXPECT_EQ(chart.labelOf(2, 51.0), "2.0");
    EXPECT_EQ(chart.labelOf(4, -9.0), "-10");
    EXPECT_EQ(chart.labelOf(2, 1.0), "0.0");
    EXPECT_EQ(chart.labelOf(9, 1.0), "");
}

TEST(ChartPoints, GoOnlyToSeriesThatWereSetUpAndStaySortedByX) {
    CScrollChartModel chart = chartWithSeries({1});
    EXPECT_EQ(chart.addPoint(7, 0.0, 1.0), CScrollChartModel::EAddResult::Dropped);
    EXPECT_EQ(chart.pointCount(), 0u);
    chart.addPoint(1, 10.0, 1.0);
    chart.addPoint(1, 30.0, 3.0);
    chart.addPoint(1, 20.0, 2.0);
    const auto& points = chart.series(1)->points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_TRUE(
        std::is_sorted(points.begin(), points.end(), [](auto& a, auto& b) { return a.x < b.x; }));
    EXPECT_EQ(chart.pointCount(), 3u);

    chart.addSeries(1, {kRed, "%.2f", 40.0}); // setting up again only restyles
    EXPECT_EQ(chart.series(1)->points.size(), 3u);
    EXPECT_EQ(chart.series(1)->style.labelFormat, "%.2f");
}

TEST(ChartFollow, WindowFollowsANewPointPastNinetyPercent) {
    CScrollChartModel chart = chartWithSeries({0});
    ASSERT_EQ(chart.windowWidth(), 10000.0);
    chart.addPoint(0, 0.0, 1.0);
    EXPECT_EQ(chart.addPoint(0, 9000.0, 1.0), CScrollChartModel::EAddResult::Added);
    EXPECT_EQ(chart.windowStart(), 0.0);
    EXPECT_EQ(chart.addPoint(0, 9005.0, 1.0), CScrollChartModel::EAddResult::WindowMoved);
    EXPECT_DOUBLE_EQ(chart.windowStart(), 5.0);
    // The extent reaches the window's end, so scrolling back a line is a line, not a jump.
    EXPECT_GE(chart.extentMax(), chart.windowEnd());
    chart.lineLeft(); // 5 − 100 is clamped to the extent's start
    EXPECT_EQ(chart.windowStart(), 0.0);
    for (double x = 9010; x <= 20000; x += 5) {
        chart.addPoint(0, x, 1.0);
    }
    EXPECT_DOUBLE_EQ(chart.windowStart(), 11000.0);
    chart.lineLeft();
    EXPECT_DOUBLE_EQ(chart.windowStart(), 10900.0);
}

TEST(ChartFollow, AScrolledBackWindowStaysWhileTheExtentGrows) {
    CScrollChartModel chart = chartWithSeries({0, 1});
    for (double x = 0; x <= 30000; x += 5) {
        chart.addPoint(0, x, 1.0);
    }
    EXPECT_DOUBLE_EQ(chart.windowStart(), 21000.0);
    chart.setWindowStart(0.0);
    chart.addPoint(0, 35000.0, 1.0);
    EXPECT_EQ(chart.windowStart(), 0.0);
    EXPECT_DOUBLE_EQ(chart.extentMax(), 36000.0); // x + 0.1 W

    // A series' first point has no previous point to have been shown: only the extent grows.
    chart.addPoint(1, 40000.0, 1.0);
    EXPECT_EQ(chart.windowStart(), 0.0);
    EXPECT_DOUBLE_EQ(chart.extentMax(), 41000.0);
}

TEST(ChartFollow, NothingHappensForTheFirstPointOfAnEmptyChartOrInsideTheFirstWindow) {
    CScrollChartModel chart = chartWithSeries({0});
    chart.addPoint(0, 50000.0, 1.0);
    EXPECT_EQ(chart.windowStart(), 0.0);
    EXPECT_EQ(chart.extentMax(), 0.0);
    chart.clearChart();
    chart.addPoint(0, 0.0, 1.0);
    chart.addPoint(0, 8000.0, 1.0); // inside W: neither branch
    EXPECT_EQ(chart.extentMax(), 0.0);
}

TEST(ChartScrolling, StepsAreClampedToTheExtent) {
    CScrollChartModel chart = chartWithSeries({0});
    for (double x = 0; x <= 100000; x += 50) {
        chart.addPoint(0, x, 1.0);
    }
    const double end = chart.extentMax() - chart.windowWidth();
    EXPECT_DOUBLE_EQ(chart.windowStart(), end);
    chart.lineRight();
    chart.pageRight();
    EXPECT_DOUBLE_EQ(chart.windowStart(), end);
    chart.pageLeft();
    EXPECT_DOUBLE_EQ(chart.windowStart(), end - 5000.0);
    chart.lineLeft();
    EXPECT_DOUBLE_EQ(chart.windowStart(), end - 5100.0);

    chart.setWindowStart(0.5);
    chart.lineLeft(); // only from 1 up
    EXPECT_DOUBLE_EQ(chart.windowStart(), 0.5);
    chart.setWindowStart(3000.0);
    chart.pageLeft();
    EXPECT_EQ(chart.windowStart(), 0.0);
    chart.setWindowStart(-50.0);
    EXPECT_EQ(chart.windowStart(), 0.0);

    chart.clearChart();
    EXPECT_EQ(chart.windowStart(), 0.0);
    EXPECT_EQ(chart.extentMax(), 0.0);
    chart.pageRight();
    EXPECT_EQ(chart.windowStart(), 0.0); // an extent shorter than the window pins it at 0
}

TEST(ChartScrolling, ThumbCoversTheExtentWithAPageOfTheWindowWidth) {
    CScrollChartModel chart = chartWithSeries({0});
    EXPECT_EQ(chart.thumbPage(), CScrollChartModel::kThumbRange);
    EXPECT_EQ(chart.thumbPosition(), 0);
    for (double x = 0; x <= 90000; x += 5) {
        chart.addPoint(0, x, 1.0);
    }
    const double span = chart.extentMax() - chart.extentMin();
    EXPECT_EQ(chart.thumbPage(), static_cast<int>(10000.0 / span * 1000));
    const int last = CScrollChartModel::kThumbRange - chart.thumbPage();
    EXPECT_EQ(chart.thumbPosition(), last);

    chart.scrollToThumb(0);
    EXPECT_EQ(chart.windowStart(), 0.0);
    chart.scrollToThumb(500);
    EXPECT_DOUBLE_EQ(chart.windowStart(), span / 2);
    EXPECT_EQ(chart.thumbPosition(), 500);
    chart.scrollToThumb(last); // the range's end shows the extent's end
    EXPECT_DOUBLE_EQ(chart.windowEnd(), chart.extentMax());
    chart.scrollToThumb(1000);
    EXPECT_DOUBLE_EQ(chart.windowEnd(), chart.extentMax());
}

TEST(ChartZoom, KeepsTheAnchorInPlaceAndLimitsTheWidth) {
    CScrollChartModel chart = chartWithSeries({0});
    for (double x = 0; x <= 100000; x += 5) {
        chart.addPoint(0, x, 1.0);
    }
    chart.setWindowStart(40000.0);
    chart.zoom(0.5, 42500.0); // a quarter into the window
    EXPECT_DOUBLE_EQ(chart.windowWidth(), 5000.0);
    EXPECT_DOUBLE_EQ(chart.windowStart(), 41250.0);
    chart.zoom(1e-9, 41250.0);
    EXPECT_EQ(chart.windowWidth(), CScrollChartModel::kMinWidth);
    chart.zoom(1e12, 0.0);
    EXPECT_EQ(chart.windowWidth(), CScrollChartModel::kMaxWidth);
    EXPECT_EQ(chart.windowStart(), 0.0);
    chart.zoom(0.0, 0.0);
    chart.zoom(-1.0, 0.0);
    EXPECT_EQ(chart.windowWidth(), CScrollChartModel::kMaxWidth);

    chart.setWindowWidth(10000.0);
    chart.setWindowStart(50000.0);
    chart.panBy(-2000.0);
    EXPECT_DOUBLE_EQ(chart.windowStart(), 48000.0);
}

TEST(ChartReadOut, ShowsVisibleSeriesValuesNearestTheCursorOnlyWhileOn) {
    CScrollChartModel chart;
    chart.addSeries(2, {kRed, "%.1f", 4.0}, true);
    chart.addSeries(4, {{0, 0, 255}, "%.0f", std::nullopt}, true);
    chart.addSeries(5, {kRed, "%.0f", std::nullopt}, false);
    chart.addSeries(6, {kRed, "%.0f", std::nullopt}, true);
    for (double x = 0; x <= 100; x += 5) {
        chart.addPoint(2, x, chartYOf(x / 50.0, 4.0));
        chart.addPoint(4, x, chartYOf(-x, std::nullopt));
        chart.addPoint(5, x, 1.0);
    }
    chart.addPoint(6, 200.0, 1.0); // no data at the cursor

    chart.setCursor(41.0, 20.0);
    EXPECT_TRUE(chart.readOutValues().empty());
    chart.setReadOut(true);
    const auto values = chart.readOutValues();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].series, 2);
    EXPECT_EQ(values[0].label, "0.8"); // nearest point x = 40
    EXPECT_EQ(values[1].series, 4);
    EXPECT_EQ(values[1].label, "-40");
    EXPECT_EQ(values[1].colour, (SChartRgb{0, 0, 255}));

    chart.setCursor(43.0, 20.0);
    EXPECT_EQ(chart.readOutValues()[0].label, "0.9"); // x = 45
    chart.clearCursor();
    EXPECT_TRUE(chart.readOutValues().empty());
}

TEST(ChartReadOut, CursorStaysAtItsPlaceInTheWindowWhileTheWindowMoves) {
    CScrollChartModel chart = chartWithSeries({0});
    chart.addPoint(0, 0.0, 1.0);
    chart.setCursor(2500.0, 50.0);
    for (double x = 5; x <= 12000; x += 5) {
        chart.addPoint(0, x, 1.0);
    }
    ASSERT_DOUBLE_EQ(chart.windowStart(), 3000.0);
    EXPECT_DOUBLE_EQ(chart.cursor()->x, 5500.0);
    EXPECT_DOUBLE_EQ(chart.cursor()->y, 50.0);
}

TEST(ChartDrawing, SparseWindowsAreDrawnPointForPointWithOneNeighbourEachSide) {
    CScrollChartModel chart = chartWithSeries({0});
    for (double x = 0; x <= 30000; x += 1000) {
        chart.addPoint(0, x, x / 1000);
    }
    chart.setWindowStart(10500.0);
    const auto polyline = chart.visiblePolyline(0, 800);
    ASSERT_EQ(polyline.size(), 12u); // 11000…20000 and the neighbours 10000 and 21000
    EXPECT_EQ(polyline.front().x, 10000.0);
    EXPECT_EQ(polyline.back().x, 21000.0);
    EXPECT_TRUE(chart.visiblePolyline(0, 0).empty());
    EXPECT_TRUE(chart.visiblePolyline(99, 800).empty());
}

TEST(ChartDrawing, DenseWindowsAreReducedPerPixelColumnKeepingExtremes) {
    CScrollChartModel chart = chartWithSeries({0});
    chart.setWindowWidth(90000.0);
    // A saw tooth with one spike far below and one far above.
    double lowest = 1e9, highest = -1e9;
    for (int i = 0; i <= 18000; ++i) {
        double y = (i % 37) - 18.0;
        if (i == 7777) {
            y = -500.0;
        }
        if (i == 12345) {
            y = 700.0;
        }
        chart.addPoint(0, i * 5.0, y);
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
    }
    chart.scrollToStart();
    const int pixels = 1280;
    const auto polyline = chart.visiblePolyline(0, pixels);
    EXPECT_LE(polyline.size(), 4u * pixels + 2);
    EXPECT_GT(polyline.size(), 2u * pixels);
    EXPECT_TRUE(std::is_sorted(polyline.begin(), polyline.end(),
                               [](auto& a, auto& b) { return a.x < b.x; }));
    auto ys = [&](auto pick) {
        return pick(polyline.begin(), polyline.end(), [](auto& a, auto& b) { return a.y < b.y; })
            ->y;
    };
    EXPECT_EQ(ys([](auto... a) { return std::min_element(a...); }), lowest);
    EXPECT_EQ(ys([](auto... a) { return std::max_element(a...); }), highest);
    EXPECT_EQ(polyline.front().x, 0.0);
    EXPECT_EQ(polyline.back().x, 90000.0);

    // Every pixel column keeps its own extremes.
    const double unitsPerColumn = 90000.0 / pixels;
    for (int column : {0, 100, 640, 1279}) {
        double low = 1e9, high = -1e9, drawnLow = 1e9, drawnHigh = -1e9;
        for (const auto& point : chart.series(0)->points) {
            if (std::min(pixels - 1, static_cast<int>(point.x / unitsPerColumn)) == column) {
                low = std::min(low, point.y);
                high = std::max(high, point.y);
            }
        }
        for (const auto& point : polyline) {
            if (std::min(pixels - 1, static_cast<int>(point.x / unitsPerColumn)) == column) {
                drawnLow = std::min(drawnLow, point.y);
                drawnHigh = std::max(drawnHigh, point.y);
            }
        }
        EXPECT_EQ(drawnLow, low) << column;
        EXPECT_EQ(drawnHigh, high) << column;
    }
}

} // namespace
} // namespace torva
