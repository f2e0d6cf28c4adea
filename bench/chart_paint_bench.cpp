// Painting the strip chart: one hour of live data (18,000 points in each of the 21 channels,
// 5 x units apart) into a 1280 × 400 image, with the whole hour in view and with the default
// live window; plus the per-column reduction alone and the plotting of an hour's recording.
#include "ui/pages/charts/chart_channels.h"
#include "ui/pages/charts/scroll_chart_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

namespace torva {
namespace {

constexpr int kPointsPerHour = 18000; // one point per 200 ms refresh
constexpr QSize kImageSize(1280, 400);

// A plausible drive: slow swings with some noise, different per column.
double columnValue(int column, int sample) {
    static std::uint32_t noise = 12345;
    noise = noise * 1664525u + 1013904223u;
    const double jitter = static_cast<double>(noise >> 24) / 255.0 - 0.5;
    const double t = sample / 300.0;
    return (column * 37 % 100) + 40.0 * std::sin(t + column) + 10.0 * jitter;
}

void plotOneHour(CScrollChartModel& chart) {
    setUpChartSeries(chart);
    for (const SChartChannel& channel : chartChannels()) {
        chart.setSeriesVisible(channel.series, true);
    }
    CChartFeed feed;
    feed.restartLive(chart);
    for (int sample = 0; sample < kPointsPerHour; ++sample) {
        feed.addLivePoint(chart, [sample](int column) { return columnValue(column, sample); });
    }
}

const CScrollChartModel& oneHourChart() {
    static CScrollChartModel chart = [] {
        CScrollChartModel model;
        plotOneHour(model);
        return model;
    }();
    return chart;
}

void paintBench(benchmark::State& state, double windowWidth) {
    CScrollChartModel chart = oneHourChart();
    chart.setWindowWidth(windowWidth);
    chart.scrollToEnd();
    chart.setReadOut(true);
    chart.setCursor(chart.windowStart() + chart.windowWidth() / 2, 50.0);
    QImage image(kImageSize, QImage::Format_ARGB32_Premultiplied);
    const QPalette palette = QGuiApplication::palette();
    for (auto _ : state) {
        QPainter painter(&image);
        paintScrollChart(painter, image.rect(), chart, palette);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = static_cast<double>(chart.pointCount());
}

void BM_PaintWholeHour(benchmark::State& state) {
    paintBench(state, kPointsPerHour * CChartFeed::kLiveStep);
}
BENCHMARK(BM_PaintWholeHour)->Unit(benchmark::kMillisecond);

void BM_PaintLiveWindow(benchmark::State& state) {
    paintBench(state, CScrollChartModel::kDefaultWidth);
}
BENCHMARK(BM_PaintLiveWindow)->Unit(benchmark::kMillisecond);

void BM_ReduceWholeHour(benchmark::State& state) {
    CScrollChartModel chart = oneHourChart();
    chart.setWindowWidth(kPointsPerHour * CChartFeed::kLiveStep);
    chart.scrollToStart();
    for (auto _ : state) {
        for (const auto& series : chart.allSeries()) {
            benchmark::DoNotOptimize(chart.visiblePolyline(series, kImageSize.width()));
        }
    }
}
BENCHMARK(BM_ReduceWholeHour)->Unit(benchmark::kMillisecond);

void BM_PlotOneHour(benchmark::State& state) {
    for (auto _ : state) {
        CScrollChartModel chart;
        plotOneHour(chart);
        benchmark::DoNotOptimize(chart.pointCount());
    }
}
BENCHMARK(BM_PlotOneHour)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace torva

// Fonts and images need a GUI application; without a display it draws offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
