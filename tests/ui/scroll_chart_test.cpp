#include "ui/pages/charts/scroll_chart.h"

#include "ui/pages/charts/scroll_chart_painter.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

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

} // namespace
} // namespace torva
