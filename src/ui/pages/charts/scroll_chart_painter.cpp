#include "ui/pages/charts/scroll_chart_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

#include <cmath>
#include <vector>

namespace torva {

namespace {

constexpr int kMargin = 6;
constexpr int kLabelHeight = 16;
constexpr int kPixelsPerXGridLine = 110;
constexpr double kYGridStep = 10.0;
constexpr double kYGridOrigin = 1.0; // a stored y of 1 is zero on every scale
constexpr int kReadOutGap = 8;
// Beyond this many points per pixel column a series is drawn column by column.
constexpr std::size_t kDensePointsPerColumn = 2;

QColor colourOf(const SChartRgb& rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

// 1, 2 or 5 times a power of ten, at least raw.
double niceStep(double raw) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw) {
            return factor * magnitude;
        }
    }
    return 10.0 * magnitude;
}

void drawGrid(QPainter& painter, const QRect& plot, const CChartMapping& map,
              const CScrollChartModel& model, const QPalette& palette) {
    painter.setPen(QPen(palette.color(QPalette::Dark), 0));
    const double xStep =
        niceStep(model.windowWidth() / std::max(1, plot.width() / kPixelsPerXGridLine));
    const QFontMetrics metrics = painter.fontMetrics();
    for (double x = std::ceil(model.windowStart() / xStep) * xStep; x <= model.windowEnd();
         x += xStep) {
        const double px = map.pixelX(x);
        painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        const QString label = QString::number(x, 'g', 12);
        const int labelWidth = metrics.horizontalAdvance(label);
        const int left = std::clamp(static_cast<int>(px) - labelWidth / 2, plot.left(),
                                    plot.right() - labelWidth);
        painter.save();
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawText(QRect(left, plot.bottom() + 2, labelWidth, kLabelHeight), Qt::AlignCenter,
                         label);
        painter.restore();
    }
    const double firstY =
        kYGridOrigin + std::ceil((model.yMin() - kYGridOrigin) / kYGridStep) * kYGridStep;
    for (double y = firstY; y <= model.yMax(); y += kYGridStep) {
        const double py = map.pixelY(y);
        painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    }
}

// A polyline with several points per pixel column drawn as one vertical span per column. A
// segment that crosses from one column into the next adds the row where it crosses to both
// spans, so the columns cover the same rows as the polyline, at a fraction of the segments.
void drawDense(QPainter& painter, const std::vector<SChartPoint>& polyline,
               const CChartMapping& map, std::vector<QLineF>& lines) {
    lines.clear();
    auto addSpan = [&lines](double column, double low, double high) {
        lines.emplace_back(column, std::round(low), column, std::round(high));
    };
    double column = 0.0;
    double low = 0.0;
    double high = 0.0;
    QPointF last;
    bool started = false;
    for (const SChartPoint& point : polyline) {
        const QPointF at = map.pixel(point);
        const double x = std::floor(at.x());
        if (started && x == column) {
            low = std::min(low, at.y());
            high = std::max(high, at.y());
        } else if (started && x == column + 1) {
            const double crossing =
                last.y() + (at.y() - last.y()) * (x - last.x()) / (at.x() - last.x());
            addSpan(column, std::min(low, crossing), std::max(high, crossing));
            low = std::min(at.y(), crossing);
            high = std::max(at.y(), crossing);
        } else {
            if (started) {
                // Columns without points between: the connecting segment itself.
                addSpan(column, low, high);
                lines.emplace_back(last, at);
            }
            low = high = at.y();
        }
        column = x;
        last = at;
        started = true;
    }
    if (started) {
        addSpan(column, low, high);
    }
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void drawSeries(QPainter& painter, const QRect& plot, const CChartMapping& map,
                const CScrollChartModel& model) {
    std::vector<QPointF> pixels;
    std::vector<QLineF> lines;
    for (const CScrollChartModel::SSeries& series : model.allSeries()) {
        if (!series.visible) {
            continue;
        }
        const std::vector<SChartPoint> polyline = model.visiblePolyline(series, plot.width());
        if (polyline.empty()) {
            continue;
        }
        painter.setPen(QPen(colourOf(series.style.colour), 0));
        if (polyline.size() > kDensePointsPerColumn * static_cast<std::size_t>(plot.width())) {
            drawDense(painter, polyline, map, lines);
            continue;
        }
        pixels.clear();
        pixels.reserve(polyline.size());
        for (const SChartPoint& point : polyline) {
            pixels.push_back(map.pixel(point));
        }
        if (pixels.size() == 1) {
            painter.drawPoint(pixels.front());
        } else {
            painter.drawPolyline(pixels.data(), static_cast<int>(pixels.size()));
        }
    }
}

void drawReadOut(QPainter& painter, const QRect& plot, const CChartMapping& map,
                 const CScrollChartModel& model, const QPalette& palette) {
    const std::optional<SChartPoint> cursor = model.cursor();
    if (!model.readOut() || !cursor) {
        return;
    }
    const QPointF at = map.pixel(*cursor);
    if (!QRectF(plot).contains(at)) {
        return;
    }
    painter.setPen(QPen(palette.color(QPalette::WindowText), 0));
    painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
    painter.drawLine(QPointF(plot.left(), at.y()), QPointF(plot.right(), at.y()));

    const std::vector<CScrollChartModel::SReadOutValue> values = model.readOutValues();
    if (values.empty()) {
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    int textWidth = 0;
    for (const auto& value : values) {
        textWidth =
            std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(value.label)));
    }
    const int lineHeight = metrics.height();
    QRect box(0, 0, textWidth + 2 * kMargin,
              lineHeight * static_cast<int>(values.size()) + kMargin);
    // Beside the cursor, on whichever side has room.
    int left = static_cast<int>(at.x()) + kReadOutGap;
    if (left + box.width() > plot.right()) {
        left = static_cast<int>(at.x()) - kReadOutGap - box.width();
    }
    int top = static_cast<int>(at.y()) + kReadOutGap;
    if (top + box.height() > plot.bottom()) {
        top = static_cast<int>(at.y()) - kReadOutGap - box.height();
    }
    box.moveTo(std::max(left, plot.left()), std::max(top, plot.top()));
    painter.setPen(QPen(palette.color(QPalette::Dark), 0));
    painter.setBrush(palette.color(QPalette::Base));
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    int baseline = box.top() + kMargin / 2 + metrics.ascent();
    for (const auto& value : values) {
        painter.setPen(colourOf(value.colour));
        painter.drawText(box.left() + kMargin, baseline, QString::fromStdString(value.label));
        baseline += lineHeight;
    }
}

} // namespace

CChartMapping::CChartMapping(const CScrollChartModel& model, const QRect& plot)
    : m_plot(plot), m_start(model.windowStart()), m_width(model.windowWidth()),
      m_yMin(model.yMin()), m_yMax(model.yMax()) {}

double CChartMapping::pixelX(double x) const {
    return m_plot.left() + (x - m_start) / m_width * m_plot.width();
}

double CChartMapping::pixelY(double y) const {
    return m_plot.bottom() - (y - m_yMin) / (m_yMax - m_yMin) * m_plot.height();
}

double CChartMapping::chartX(double pixelX) const {
    return m_start + (pixelX - m_plot.left()) / m_plot.width() * m_width;
}

double CChartMapping::chartY(double pixelY) const {
    return m_yMin + (m_plot.bottom() - pixelY) / m_plot.height() * (m_yMax - m_yMin);
}

QRect scrollChartPlotRect(const QRect& area) {
    return area.adjusted(kMargin, kMargin, -kMargin, -(kMargin + kLabelHeight));
}

void paintScrollChart(QPainter& painter, const QRect& area, const CScrollChartModel& model,
                      const QPalette& palette) {
    painter.fillRect(area, palette.color(QPalette::Window));
    const QRect plot = scrollChartPlotRect(area);
    if (plot.width() <= 0 || plot.height() <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(plot, palette.color(QPalette::Base));
    const CChartMapping map(model, plot);
    drawGrid(painter, plot, map, model, palette);
    painter.setClipRect(plot);
    drawSeries(painter, plot, map, model);
    drawReadOut(painter, plot, map, model, palette);
    painter.setClipping(false);
    painter.setPen(QPen(palette.color(QPalette::Shadow), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    painter.restore();
}

} // namespace torva
