#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torva {

struct SChartPoint {
    double x = 0.0;
    double y = 0.0;
};

struct SChartRgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const SChartRgb&) const = default;
};

// How a series is drawn and labelled. Values are stored as a percentage of the full scale plus
// one; a series without a full scale stores the value plus one.
struct SChartSeriesStyle {
    SChartRgb colour;
    std::string labelFormat = "%.0f";
    std::optional<double> fullScale;
};

// y = value / full scale × 100 + 1, or value + 1 without a full scale.
double chartYOf(double value, std::optional<double> fullScale);
// The inverse, used by the value labels.
double valueOfChartY(double y, std::optional<double> fullScale);

// The strip chart apart from any window: series of (x, y) points kept sorted by x, a visible
// x window [start, start + width] that follows the newest point, horizontal scrolling with its
// scroll-bar mapping, and the value read-out at a cursor.
class CScrollChartModel {
public:
    static constexpr double kDefaultWidth = 10000.0;
    static constexpr double kMinWidth = 50.0;
    static constexpr double kMaxWidth = 1.0e9;
    static constexpr int kThumbRange = 1000; // the scroll bar spans 0…1000
    static constexpr double kDefaultYMin = -9.0;
    static constexpr double kDefaultYMax = 111.0;

    struct SSeries {
        int id = 0;
        SChartSeriesStyle style;
        bool visible = false;
        std::vector<SChartPoint> points; // ascending x
    };

    struct SReadOutValue {
        int series = 0;
        SChartRgb colour;
        double y = 0.0;    // stored value at the cursor
        std::string label; // the value shown, in the series' format
    };

    enum class EAddResult {
        Dropped,     // no such series
        Added,       // the window and extent are unchanged
        WindowMoved, // the window followed the new point or the extent grew
    };

    // Series. A series is set up once; setting it up again only restyles it.
    void addSeries(int id, const SChartSeriesStyle& style, bool visible = false);
    bool hasSeries(int id) const { return find(id) != nullptr; }
    const SSeries* series(int id) const { return find(id); }
    const std::vector<SSeries>& allSeries() const { return m_series; }
    // False when the series does not exist or already had that visibility.
    bool setSeriesVisible(int id, bool visible);
    bool isSeriesVisible(int id) const;

    // Appends a point to a series that was set up and applies the follow rule; points for
    // unknown series are dropped.
    EAddResult addPoint(int series, double x, double y);
    // Removes every point; the window start and the extent maximum return to 0.
    void clearChart();
    std::size_t pointCount() const { return m_pointCount; }

    // The window and the extent the scroll bar covers.
    double windowStart() const { return m_start; }
    double windowWidth() const { return m_width; }
    double windowEnd() const { return m_start + m_width; }
    double extentMin() const { return m_extentMin; }
    double extentMax() const { return m_extentMax; }
    void setWindowStart(double start); // clamped like every scroll step
    void setWindowWidth(double width); // limited to kMinWidth…kMaxWidth, start clamped after

    // Scroll-bar steps, all in x units.
    void lineLeft();
    void lineRight();
    void pageLeft();
    void pageRight();
    void scrollToStart();
    void scrollToEnd();
    // The scroll bar's thumb: its position runs 0…(kThumbRange − thumbPage()) and its size
    // stands for the window width, so the right end of the range shows the extent's end.
    int thumbPosition() const;
    int thumbPage() const;
    void scrollToThumb(int position);

    // Changes the width by factor, keeping anchorX at the same place in the window.
    void zoom(double factor, double anchorX);
    // Moves the window by dx x units (drag to pan).
    void panBy(double dx);

    // The vertical range drawn; the default shows 0…100 % of every full scale with a margin.
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }
    void setYRange(double yMin, double yMax);

    // Value read-out. The cursor is kept relative to the window, so it stays under the mouse
    // while the window follows new points.
    void setReadOut(bool on) { m_readOut = on; }
    bool readOut() const { return m_readOut; }
    void setCursor(double x, double y);
    void clearCursor() { m_cursor.reset(); }
    std::optional<SChartPoint> cursor() const;
    // For each visible series with data at the cursor's x, the nearest point's value and its
    // label; empty while the read-out is off or there is no cursor.
    std::vector<SReadOutValue> readOutValues() const;
    // The label of a stored y value in the series' format ("" for an unknown series).
    std::string labelOf(int series, double y) const;

    // What to draw of a series in a window pixelWidth pixels wide: its points inside the
    // window plus one neighbour on each side, so the line reaches the edges. When there are
    // more points than pixels can show, each pixel column is reduced to its first, lowest,
    // highest and last point, in their order, which draws the same picture.
    std::vector<SChartPoint> visiblePolyline(int series, int pixelWidth) const;
    std::vector<SChartPoint> visiblePolyline(const SSeries& series, int pixelWidth) const;

private:
    SSeries* find(int id);
    const SSeries* find(int id) const;
    void follow(std::optional<double> previousLastX, double x, EAddResult& result);
    void clampStart();

    std::vector<SSeries> m_series;
    std::size_t m_pointCount = 0;
    double m_start = 0.0;
    double m_width = kDefaultWidth;
    double m_extentMin = 0.0;
    double m_extentMax = 0.0;
    double m_yMin = kDefaultYMin;
    double m_yMax = kDefaultYMax;
    bool m_readOut = false;
    std::optional<SChartPoint> m_cursor; // x as a fraction of the window width, y as stored
};

} // namespace torva
