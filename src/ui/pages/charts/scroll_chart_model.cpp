#include "ui/pages/charts/scroll_chart_model.h"

#include "ui/controls/number_format.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace torva {

namespace {

constexpr double kFollowMark = 0.9; // a new point beyond this share of the window scrolls it
constexpr double kLineStep = 0.01;
constexpr double kPageStep = 0.5;
// Below this many points per pixel column the points are drawn as they are.
constexpr std::size_t kPointsPerColumnBeforeReducing = 4;

bool lessX(const SChartPoint& point, double x) {
    return point.x < x;
}
bool xLess(double x, const SChartPoint& point) {
    return x < point.x;
}

} // namespace

double chartYOf(double value, std::optional<double> fullScale) {
    return fullScale ? value / *fullScale * 100.0 + 1.0 : value + 1.0;
}

double valueOfChartY(double y, std::optional<double> fullScale) {
    return fullScale ? (y - 1.0) / 100.0 * *fullScale : y - 1.0;
}

CScrollChartModel::SSeries* CScrollChartModel::find(int id) {
    auto it = std::find_if(m_series.begin(), m_series.end(),
                           [id](const SSeries& series) { return series.id == id; });
    return it == m_series.end() ? nullptr : &*it;
}

const CScrollChartModel::SSeries* CScrollChartModel::find(int id) const {
    return const_cast<CScrollChartModel*>(this)->find(id);
}

void CScrollChartModel::addSeries(int id, const SChartSeriesStyle& style, bool visible) {
    if (SSeries* existing = find(id)) {
        existing->style = style;
        return;
    }
    m_series.push_back(SSeries{id, style, visible, {}});
}

bool CScrollChartModel::setSeriesVisible(int id, bool visible) {
    SSeries* series = find(id);
    if (!series || series->visible == visible) {
        return false;
    }
    series->visible = visible;
    return true;
}

bool CScrollChartModel::isSeriesVisible(int id) const {
    const SSeries* series = find(id);
    return series && series->visible;
}

CScrollChartModel::EAddResult CScrollChartModel::addPoint(int id, double x, double y) {
    SSeries* series = find(id);
    if (!series) {
        return EAddResult::Dropped;
    }
    const bool chartHadPoints = m_pointCount > 0;
    std::optional<double> previousLastX;
    auto& points = series->points;
    if (!points.empty()) {
        previousLastX = points.back().x;
    }
    if (points.empty() || x >= points.back().x) {
        points.push_back({x, y});
    } else {
        // Out of order: keep the series sorted, the drawing and read-out search by x.
        points.insert(std::upper_bound(points.begin(), points.end(), x, xLess), {x, y});
    }
    ++m_pointCount;
    EAddResult result = EAddResult::Added;
    if (chartHadPoints) {
        follow(previousLastX, x, result);
    }
    return result;
}

void CScrollChartModel::follow(std::optional<double> previousLastX, double x, EAddResult& result) {
    const double start = m_start;
    const double width = m_width;
    const bool lastWasShown =
        previousLastX && *previousLastX >= start && *previousLastX <= start + width;
    if (lastWasShown && x > start + kFollowMark * width) {
        m_start = x - kFollowMark * width;
        // The extent must reach the window's end, or the next scroll step would clamp the
        // window back to where the extent ended.
        m_extentMax = std::max(m_extentMax, m_start + width);
        result = EAddResult::WindowMoved;
    } else if (x > m_extentMax && x > width) {
        m_extentMax = x + (1.0 - kFollowMark) * width;
        result = EAddResult::WindowMoved;
    }
}

void CScrollChartModel::clearChart() {
    for (SSeries& series : m_series) {
        series.points.clear();
    }
    m_pointCount = 0;
    m_start = 0.0;
    m_extentMax = 0.0;
}

void CScrollChartModel::clampStart() {
    m_start = std::max(m_extentMin, std::min(m_start, m_extentMax - m_width));
}

void CScrollChartModel::setWindowStart(double start) {
    if (!std::isfinite(start)) {
        return;
    }
    m_start = start;
    clampStart();
}

void CScrollChartModel::setWindowWidth(double width) {
    if (!std::isfinite(width)) {
        return;
    }
    m_width = std::clamp(width, kMinWidth, kMaxWidth);
    clampStart();
}

void CScrollChartModel::lineLeft() {
    if (m_start >= 1.0) {
        m_start -= kLineStep * m_width;
    }
    clampStart();
}

void CScrollChartModel::lineRight() {
    m_start += kLineStep * m_width;
    clampStart();
}

void CScrollChartModel::pageLeft() {
    m_start = std::max(0.0, m_start - kPageStep * m_width);
    clampStart();
}

void CScrollChartModel::pageRight() {
    m_start += kPageStep * m_width;
    clampStart();
}

void CScrollChartModel::scrollToStart() {
    m_start = m_extentMin;
    clampStart();
}

void CScrollChartModel::scrollToEnd() {
    m_start = m_extentMax - m_width;
    clampStart();
}

int CScrollChartModel::thumbPage() const {
    const double span = m_extentMax - m_extentMin;
    if (span <= 0.0 || m_width >= span) {
        return kThumbRange;
    }
    // Rounded down, so the right end of the thumb's range always reaches the extent's end.
    return std::max(1, static_cast<int>(m_width / span * kThumbRange));
}

int CScrollChartModel::thumbPosition() const {
    const double span = m_extentMax - m_extentMin;
    if (span <= 0.0) {
        return 0;
    }
    const int last = kThumbRange - thumbPage();
    if (m_start >= m_extentMax - m_width) {
        return last; // the page was rounded down: the end must still show as the end
    }
    const int position =
        static_cast<int>(std::lround((m_start - m_extentMin) / span * kThumbRange));
    return std::clamp(position, 0, last);
}

void CScrollChartModel::scrollToThumb(int position) {
    m_start =
        m_extentMin + position / static_cast<double>(kThumbRange) * (m_extentMax - m_extentMin);
    clampStart();
}

void CScrollChartModel::zoom(double factor, double anchorX) {
    if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(anchorX)) {
        return;
    }
    const double width = std::clamp(m_width * factor, kMinWidth, kMaxWidth);
    const double share = (anchorX - m_start) / m_width;
    m_start = anchorX - share * width;
    m_width = width;
    clampStart();
}

void CScrollChartModel::panBy(double dx) {
    setWindowStart(m_start + dx);
}

void CScrollChartModel::setYRange(double yMin, double yMax) {
    if (!(yMax > yMin) || !std::isfinite(yMin) || !std::isfinite(yMax)) {
        return;
    }
    m_yMin = yMin;
    m_yMax = yMax;
}

void CScrollChartModel::setCursor(double x, double y) {
    m_cursor = SChartPoint{(x - m_start) / m_width, y};
}

std::optional<SChartPoint> CScrollChartModel::cursor() const {
    if (!m_cursor) {
        return std::nullopt;
    }
    return SChartPoint{m_start + m_cursor->x * m_width, m_cursor->y};
}

std::string CScrollChartModel::labelOf(int id, double y) const {
    const SSeries* series = find(id);
    if (!series) {
        return {};
    }
    double value = valueOfChartY(y, series->style.fullScale);
    if (std::abs(value) < 1e-12) {
        value = 0.0; // no "-0" from the round trip
    }
    return formatNumber(series->style.labelFormat, value);
}

std::vector<CScrollChartModel::SReadOutValue> CScrollChartModel::readOutValues() const {
    std::vector<SReadOutValue> values;
    const std::optional<SChartPoint> at = cursor();
    if (!m_readOut || !at) {
        return values;
    }
    for (const SSeries& series : m_series) {
        const auto& points = series.points;
        if (!series.visible || points.empty() || at->x < points.front().x ||
            at->x > points.back().x) {
            continue;
        }
        auto next = std::lower_bound(points.begin(), points.end(), at->x, lessX);
        auto nearest = next;
        if (next != points.begin() &&
            (next == points.end() || at->x - (next - 1)->x <= next->x - at->x)) {
            nearest = next - 1;
        }
        values.push_back(
            {series.id, series.style.colour, nearest->y, labelOf(series.id, nearest->y)});
    }
    return values;
}

std::vector<SChartPoint> CScrollChartModel::visiblePolyline(int id, int pixelWidth) const {
    const SSeries* series = find(id);
    return series ? visiblePolyline(*series, pixelWidth) : std::vector<SChartPoint>{};
}

std::vector<SChartPoint> CScrollChartModel::visiblePolyline(const SSeries& series,
                                                            int pixelWidth) const {
    const auto& points = series.points;
    if (points.empty() || pixelWidth <= 0) {
        return {};
    }
    const std::size_t first =
        std::lower_bound(points.begin(), points.end(), m_start, lessX) - points.begin();
    const std::size_t last =
        std::upper_bound(points.begin(), points.end(), windowEnd(), xLess) - points.begin();
    const std::size_t from = first > 0 ? first - 1 : 0;
    const std::size_t to = last < points.size() ? last + 1 : points.size();
    const auto columns = static_cast<std::size_t>(pixelWidth);
    if (last - first <= kPointsPerColumnBeforeReducing * columns) {
        return {points.begin() + static_cast<std::ptrdiff_t>(from),
                points.begin() + static_cast<std::ptrdiff_t>(to)};
    }

    std::vector<SChartPoint> polyline;
    polyline.reserve(4 * columns + 2);
    if (first > 0) {
        polyline.push_back(points[first - 1]);
    }
    const double unitsPerColumn = m_width / pixelWidth;
    std::size_t i = first;
    while (i < last) {
        const double column = std::floor((points[i].x - m_start) / unitsPerColumn);
        // The last column also takes the point on the window's right edge.
        const double columnEnd = column + 1 >= pixelWidth ? windowEnd() + unitsPerColumn
                                                          : m_start + (column + 1) * unitsPerColumn;
        const std::size_t head = i;
        std::size_t lowest = i;
        std::size_t highest = i;
        for (++i; i < last && points[i].x < columnEnd; ++i) {
            if (points[i].y < points[lowest].y) {
                lowest = i;
            } else if (points[i].y > points[highest].y) {
                highest = i;
            }
        }
        std::array<std::size_t, 4> picked{head, lowest, highest, i - 1};
        std::sort(picked.begin(), picked.end());
        for (std::size_t k = 0; k < picked.size(); ++k) {
            if (k == 0 || picked[k] != picked[k - 1]) {
                polyline.push_back(points[picked[k]]);
            }
        }
    }
    if (last < points.size()) {
        polyline.push_back(points[last]);
    }
    return polyline;
}

} // namespace torva
