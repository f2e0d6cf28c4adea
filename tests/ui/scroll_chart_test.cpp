#include "ui/pages/charts/scroll_chart.h"

#include "ui/pages/charts/scroll_chart_painter.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace torva {
namespace {

constexpr SChartRgb kGreen{0, 160, 0};
constexpr SChartRgb kBlue{0, 0, 255};

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button = Qt::NoButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

int pixelsOf(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == colour;
        }
    }
    return count;
}

class ScrollChartTest : public testing::Test {
protected:
    void SetUp() override {
        chart.resize(600, 300);
        chart.addSeries(1, {kGreen, "%.1f", 4.0}, true);
        chart.addSeries(2, {kBlue, "%.0f", std::nullopt}, false);
    }
    QImage grab() {
        QImage image(chart.size(), QImage::Format_RGB32);
        chart.render(&image);
        return image;
    }

    CScrollChart<double> chart;
};

TEST_F(ScrollChartTest, DrawsOnlyVisibleSeriesInsideThePlot) {
    for (double x = 0; x <= 20000; x += 5) {
        chart.addPoint(1, x, 50.0);
        chart.addPoint(2, x, 20.0);
    }
    const QImage image = grab();
    const QRect plot = chart.plotRect();
    EXPECT_GT(pixelsOf(image, plot, QColor(0, 160, 0)), plot.width() / 2);
    EXPECT_EQ(pixelsOf(image, plot, QColor(0, 0, 255)), 0);
    const QRect below(0, plot.bottom() + 2, chart.width(), chart.height() - plot.bottom() - 2);
    EXPECT_EQ(pixelsOf(image, below, QColor(0, 160, 0)), 0);

    chart.setSeriesVisible(2, true);
    EXPECT_GT(pixelsOf(grab(), plot, QColor(0, 0, 255)), plot.width() / 2);
}

TEST_F(ScrollChartTest, ScrollBarFollowsTheWindowAndItsStepsScrollTheChart) {
    QScrollBar* bar = chart.scrollBar();
    EXPECT_EQ(bar->maximum(), 0);
    for (double x = 0; x <= 100000; x += 5) {
        chart.addPoint(1, x, 50.0);
    }
    const auto& model = chart.model();
    EXPECT_EQ(bar->pageStep(), model.thumbPage());
    EXPECT_EQ(bar->maximum(), 1000 - model.thumbPage());
    EXPECT_EQ(bar->value(), bar->maximum());

    const double start = model.windowStart();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_DOUBLE_EQ(model.windowStart(), start - 5000.0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_DOUBLE_EQ(model.windowStart(), start - 5100.0);
    EXPECT_EQ(bar->value(), model.thumbPosition());
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(model.windowStart(), 0.0);
    EXPECT_EQ(bar->value(), 0);

    chart.clearChart();
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(model.windowStart(), 0.0);
}

TEST_F(ScrollChartTest, MouseShowsTheReadOutWheelZoomsAndDragPans) {
    for (double x = 0; x <= 40000; x += 5) {
        chart.addPoint(1, x, 51.0);
    }
    chart.model().setWindowStart(10000.0);
    chart.modelChanged();
    const QRect plot = chart.plotRect();
    const QPoint middle = plot.center();

    sendMouse(chart, QEvent::MouseMove, middle);
    EXPECT_TRUE(chart.model().readOutValues().empty()); // read-out off
    chart.setReadOut(true);
    sendMouse(chart, QEvent::MouseMove, middle + QPoint(1, 0));
    const auto values = chart.model().readOutValues();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].label, "2.0");

    const double anchor = chart.model().cursor()->x;
    QWheelEvent wheel(QPointF(middle + QPoint(1, 0)), QPointF(chart.mapToGlobal(middle)), {},
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    EXPECT_DOUBLE_EQ(chart.model().windowWidth(), 8000.0);
    EXPECT_NEAR(chart.model().cursor()->x, anchor, 1e-6);

    const double start = chart.model().windowStart();
    const QPoint dropped = middle + QPoint(plot.width() / 4, 0);
    sendMouse(chart, QEvent::MouseButtonPress, middle, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, dropped, Qt::NoButton);
    sendMouse(chart, QEvent::MouseButtonRelease, dropped, Qt::LeftButton);
    EXPECT_NEAR(chart.model().windowStart(), start - 2000.0, 20.0);
}

// The reduced drawing of an hour must look like drawing every point: what either draws in a
// pixel column, the other draws there or in a neighbouring column (steep segments that cross
// a column edge are rasterised a little differently), and the line has no breaks.
TEST(ScrollChartPainting, ReducedDrawingCoversTheSameRowsAsEveryPoint) {
    CScrollChartModel model;
    model.addSeries(0, {{0, 0, 0}, "%.0f", std::nullopt}, true);
    model.setWindowWidth(90000.0);
    for (int i = 0; i <= 18000; ++i) {
        const double spike = i % 997 == 0 ? 40.0 : 0.0;
        model.addPoint(0, i * 5.0, 50.0 + 30.0 * std::sin(i / 40.0) + (i % 13) - spike);
    }
    model.scrollToStart();
    const QRect area(0, 0, 1280, 400);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Dark, Qt::white);
    palette.setColor(QPalette::Shadow, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);

    QImage reduced(area.size(), QImage::Format_RGB32);
    QPainter reducedPainter(&reduced);
    paintScrollChart(reducedPainter, area, model, palette);
    reducedPainter.end();

    QImage full(area.size(), QImage::Format_RGB32);
    full.fill(Qt::white);
    const QRect plot = scrollChartPlotRect(area);
    const CChartMapping map(model, plot);
    std::vector<QPointF> pixels;
    for (const SChartPoint& point : model.series(0)->points) {
        pixels.push_back(map.pixel(point));
    }
    QPainter fullPainter(&full);
    fullPainter.setClipRect(plot);
    fullPainter.setPen(QPen(Qt::black, 0));
    fullPainter.drawPolyline(pixels.data(), static_cast<int>(pixels.size()));
    fullPainter.end();

    // Per column, the topmost and bottommost black row.
    auto rows = [&](const QImage& image) {
        std::vector<std::pair<int, int>> spans(area.width(), {plot.bottom(), plot.top()});
        for (int y = plot.top() + 1; y < plot.bottom(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < area.width(); ++x) {
                if (qGray(line[x]) < 128) {
                    spans[x] = {std::min(spans[x].first, y), std::max(spans[x].second, y)};
                }
            }
        }
        return spans;
    };
    auto nearby = [](const std::vector<std::pair<int, int>>& spans, int x) {
        return std::pair{std::min({spans[x - 1].first, spans[x].first, spans[x + 1].first}),
                         std::max({spans[x - 1].second, spans[x].second, spans[x + 1].second})};
    };
    const auto reducedRows = rows(reduced);
    const auto fullRows = rows(full);
    for (int x = plot.left() + 2; x < plot.right() - 1; ++x) {
        const auto [fullTop, fullBottom] = nearby(fullRows, x);
        EXPECT_GE(reducedRows[x].first, fullTop - 1) << "column " << x;
        EXPECT_LE(reducedRows[x].second, fullBottom + 1) << "column " << x;
        const auto [top, bottom] = nearby(reducedRows, x);
        EXPECT_GE(fullRows[x].first, top - 1) << "column " << x;
        EXPECT_LE(fullRows[x].second, bottom + 1) << "column " << x;
        // An unbroken line: neighbouring columns touch.
        EXPECT_LE(reducedRows[x].first, reducedRows[x + 1].second + 1) << "column " << x;
        EXPECT_GE(reducedRows[x].second, reducedRows[x + 1].first - 1) << "column " << x;
    }
}

} // namespace
} // namespace torva
