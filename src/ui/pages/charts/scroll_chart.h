#pragma once

#include "ui/controls/comp_ctrl.h"
#include "ui/pages/charts/scroll_chart_model.h"

#include <concepts>
#include <optional>

class QScrollBar;

namespace torva {

// The strip-chart control: draws a CScrollChartModel with a horizontal scroll bar below it.
// The mouse shows the value read-out (while it is on), the wheel zooms the window width around
// the mouse, and dragging with the left button pans.
class CScrollChartView : public CCompCtrl {
    Q_OBJECT
public:
    explicit CScrollChartView(QWidget* parent = nullptr);

    CScrollChartModel& model() { return m_model; }
    const CScrollChartModel& model() const { return m_model; }
    // After changing the model directly: brings the scroll bar up to date and repaints.
    void modelChanged();

    // The model's operations that change what is shown, followed by modelChanged().
    void addSeries(int id, const SChartSeriesStyle& style, bool visible = false);
    void addPoint(int series, double x, double y);
    void clearChart();
    void setSeriesVisible(int series, bool visible);
    void setReadOut(bool on);

    QScrollBar* scrollBar() const { return m_scrollBar; }
    // Where the points are drawn, in widget coordinates.
    QRect plotRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void onScrollBarAction(int action);
    void placeCursor(const QPointF& position);
    QRect chartArea() const;

    CScrollChartModel m_model;
    QScrollBar* m_scrollBar;
    std::optional<double> m_dragX; // pixel x where the drag started
    double m_dragWindowStart = 0.0;
};

// The chart as the pages name it; only double values are charted.
template <typename T>
requires std::same_as<T, double>
using CScrollChart = CScrollChartView;

} // namespace torva
