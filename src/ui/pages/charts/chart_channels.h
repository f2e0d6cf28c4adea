#pragma once

#include "ui/pages/charts/scroll_chart_model.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace torva {

// One plotted live value: its fixed series, the recording column (1…28) it comes from, the
// factor from that column's unit to the plotted unit, and how it is scaled, labelled and drawn.
struct SChartChannel {
    int series = 0;
    int recordColumn = 0;
    double columnFactor = 1.0; // kPa columns are plotted in bar
    std::optional<double> fullScale;
    const char* labelFormat = "%.0f";
    SChartRgb colour;
};

// The channels in plotting order.
std::span<const SChartChannel> chartChannels();
const SChartChannel* chartChannel(int series);
// The stored y of a channel's value given in its recording column's unit.
double chartYOfColumnValue(const SChartChannel& channel, double columnValue);

// The series check boxes beside the chart, top to bottom.
enum class EChartBox {
    Rpm,
    GasTime,
    Pressure,
    Vacuum,
    GasTemperature,
    ReducerTemperature,
    Thermocouple,
    Emulator1,
    Emulator2,
    Emulator3,
    Emulator4,
    TpsDigital1,
    TpsDigital2,
};

struct SChartCheckBox {
    EChartBox box;
    const char* caption; // Polish source text
    bool checkedAtStart;
};

std::span<const SChartCheckBox> chartCheckBoxes();

// The series a box shows or hides. "Emulator3" shows the unscaled signals 5 and 6 when the
// tempomat flags hold signals 5 and 6 as counts (bit 0x08), else the scaled ones.
std::vector<int> seriesOfCheckBox(EChartBox box, std::uint16_t tempomatFlags);

// Sets up every channel's series, hidden, in the chart.
void setUpChartSeries(CScrollChartModel& chart);
// Applies a box's state to its series. "Emulator3" also hides the pair it does not use, so
// only one form of signals 5 and 6 is ever shown.
void applyCheckBox(CScrollChartModel& chart, EChartBox box, bool checked,
                   std::uint16_t tempomatFlags);
// Applies every box's start state (what the page ticks when it opens).
void applyStartStates(CScrollChartModel& chart, std::uint16_t tempomatFlags);

// A recording column's value (column 1…28) of the sample or record being plotted.
using ChartColumnValue = std::function<double(int column)>;

// Adds one point at x to every channel's series.
void addChannelPoints(CScrollChartModel& chart, double x, const ChartColumnValue& columnValue);

// The page's feed of points into the chart: the next x position, live points one per refresh
// 5 x units apart, a displayed recording's records 6 apart. Live plotting pauses while a
// recording is displayed, until the chart is cleared or a new recording starts.
class CChartFeed {
public:
    static constexpr double kLiveStep = 5.0;
    static constexpr double kRecordStep = 6.0;

    // Clear and record: empty chart, next x 0, read-out off, live plotting on.
    void restartLive(CScrollChartModel& chart);
    // One point per channel from the newest sample; false (nothing added) while a recording is
    // displayed.
    bool addLivePoint(CScrollChartModel& chart, const ChartColumnValue& columnValue);
    // Before a recording's records are plotted: empty chart, next x 0, read-out on.
    void showRecording(CScrollChartModel& chart);
    // One point per channel from the next record.
    void addRecordPoint(CScrollChartModel& chart, const ChartColumnValue& columnValue);

    double nextX() const { return m_nextX; }
    bool showsRecording() const { return m_showsRecording; }

private:
    double m_nextX = 0.0;
    bool m_showsRecording = false;
};

} // namespace torva
