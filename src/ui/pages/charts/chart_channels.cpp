#include "ui/pages/charts/chart_channels.h"

#include "config/device_config.h"
#include "lang/source_text.h"

#include <algorithm>
#include <array>

namespace torva {

namespace {

constexpr double kKpaToBar = 0.01;
constexpr std::optional<double> kUnscaled = std::nullopt;

constexpr std::array<SChartChannel, 21> kChannels{{
    {0, 4, 1.0, 10000.0, "%.0f", {90, 45, 45}},      // engine speed
    {1, 5, 1.0, 40.0, "%.2f", {0, 100, 0}},          // gas injection time, ms
    {2, 6, kKpaToBar, 4.0, "%.1f", {100, 150, 100}}, // reducer pressure, bar
    {3, 7, kKpaToBar, 4.0, "%.1f", {125, 125, 80}},  // reducer vacuum, bar
    {4, 8, 1.0, kUnscaled, "%.0f", {190, 70, 128}},  // gas temperature
    {5, 9, 1.0, kUnscaled, "%.0f", {220, 100, 30}},  // reducer temperature
    {15, 19, 1.0, 1000.0, "%.0f", {0, 0, 0}},        // exhaust temperature
    {7, 11, 1.0, 15.0, "%.2f", {0, 0, 255}},         // signals 1…8
    {8, 12, 1.0, 15.0, "%.2f", {64, 64, 255}},
    {9, 13, 1.0, 15.0, "%.2f", {100, 0, 0}},
    {10, 14, 1.0, 15.0, "%.2f", {128, 0, 0}},
    {11, 15, 1.0, 15.0, "%.2f", {100, 100, 100}},
    {12, 16, 1.0, 15.0, "%.2f", {128, 128, 128}},
    {13, 17, 1.0, 15.0, "%.2f", {100, 100, 192}},
    {14, 18, 1.0, 15.0, "%.2f", {128, 128, 192}},
    {19, 23, 1.0, kUnscaled, "%.0f", {200, 0, 0}}, // extension values 3, 4, 7, 8
    {20, 24, 1.0, kUnscaled, "%.0f", {255, 0, 0}},
    {23, 27, 1.0, kUnscaled, "%.0f", {64, 0, 64}},
    {24, 28, 1.0, kUnscaled, "%.0f", {128, 0, 128}},
    {25, 15, 1.0, kUnscaled, "%.0f", {100, 100, 100}}, // signals 5 and 6 unscaled
    {26, 16, 1.0, kUnscaled, "%.0f", {128, 128, 128}},
}};

constexpr std::array<SChartCheckBox, 13> kCheckBoxes{{
    {EChartBox::Rpm, PL("RPM"), true},
    {EChartBox::GasTime, PL("Czas gazowy"), true},
    {EChartBox::Pressure, PL("Ciśnienie"), true},
    {EChartBox::Vacuum, PL("Podciśnienie"), false},
    {EChartBox::GasTemperature, PL("Temp. gazu"), false},
    {EChartBox::ReducerTemperature, PL("Temp. reduktora"), false},
    {EChartBox::Thermocouple, PL("Termopara"), false},
    {EChartBox::Emulator1, PL("Emulator1"), false},
    {EChartBox::Emulator2, PL("Emulator2"), false},
    {EChartBox::Emulator3, PL("Emulator3"), false},
    {EChartBox::Emulator4, PL("Emulator4"), false},
    {EChartBox::TpsDigital1, PL("Emulator TPS Digital1"), false},
    {EChartBox::TpsDigital2, PL("Emulator TPS Digital2"), false},
}};

bool signalsAsCounts(std::uint16_t tempomatFlags) {
    return (tempomatFlags & kTempomatRawTpsFlag) != 0;
}

} // namespace

std::span<const SChartChannel> chartChannels() {
    return kChannels;
}

const SChartChannel* chartChannel(int series) {
    auto it =
        std::find_if(kChannels.begin(), kChannels.end(),
                     [series](const SChartChannel& channel) { return channel.series == series; });
    return it == kChannels.end() ? nullptr : &*it;
}

double chartYOfColumnValue(const SChartChannel& channel, double columnValue) {
    return chartYOf(columnValue * channel.columnFactor, channel.fullScale);
}

std::span<const SChartCheckBox> chartCheckBoxes() {
    return kCheckBoxes;
}

std::vector<int> seriesOfCheckBox(EChartBox box, std::uint16_t tempomatFlags) {
    switch (box) {
    case EChartBox::Rpm:
        return {0};
    case EChartBox::GasTime:
        return {1};
    case EChartBox::Pressure:
        return {2};
    case EChartBox::Vacuum:
        return {3};
    case EChartBox::GasTemperature:
        return {4};
    case EChartBox::ReducerTemperature:
        return {5};
    case EChartBox::Thermocouple:
        return {15};
    case EChartBox::Emulator1:
        return {7, 8};
    case EChartBox::Emulator2:
        return {9, 10};
    case EChartBox::Emulator3:
        return signalsAsCounts(tempomatFlags) ? std::vector<int>{25, 26} : std::vector<int>{11, 12};
    case EChartBox::Emulator4:
        return {13, 14};
    case EChartBox::TpsDigital1:
        return {19, 20};
    case EChartBox::TpsDigital2:
        return {23, 24};
    }
    return {};
}

void setUpChartSeries(CScrollChartModel& chart) {
    for (const SChartChannel& channel : kChannels) {
        chart.addSeries(channel.series, {channel.colour, channel.labelFormat, channel.fullScale},
                        false);
    }
}

void applyCheckBox(CScrollChartModel& chart, EChartBox box, bool checked,
                   std::uint16_t tempomatFlags) {
    for (int series : seriesOfCheckBox(box, tempomatFlags)) {
        chart.setSeriesVisible(series, checked);
    }
    if (box == EChartBox::Emulator3) {
        const std::uint16_t otherForm = tempomatFlags ^ kTempomatRawTpsFlag;
        for (int series : seriesOfCheckBox(box, otherForm)) {
            chart.setSeriesVisible(series, false);
        }
    }
}

void applyStartStates(CScrollChartModel& chart, std::uint16_t tempomatFlags) {
    for (const SChartCheckBox& box : kCheckBoxes) {
        applyCheckBox(chart, box.box, box.checkedAtStart, tempomatFlags);
    }
}

void addChannelPoints(CScrollChartModel& chart, double x, const ChartColumnValue& columnValue) {
    for (const SChartChannel& channel : kChannels) {
        chart.addPoint(channel.series, x,
                       chartYOfColumnValue(channel, columnValue(channel.recordColumn)));
    }
}

void CChartFeed::restartLive(CScrollChartModel& chart) {
    chart.clearChart();
    chart.setReadOut(false);
    m_nextX = 0.0;
    m_showsRecording = false;
}

bool CChartFeed::addLivePoint(CScrollChartModel& chart, const ChartColumnValue& columnValue) {
    if (m_showsRecording) {
        return false;
    }
    addChannelPoints(chart, m_nextX, columnValue);
    m_nextX += kLiveStep;
    return true;
}

void CChartFeed::showRecording(CScrollChartModel& chart) {
    chart.clearChart();
    chart.setReadOut(true);
    m_nextX = 0.0;
    m_showsRecording = true;
}

void CChartFeed::addRecordPoint(CScrollChartModel& chart, const ChartColumnValue& columnValue) {
    addChannelPoints(chart, m_nextX, columnValue);
    m_nextX += kRecordStep;
}

} // namespace torva
