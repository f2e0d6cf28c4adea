#pragma once

#include "ui/pages/charts/scroll_chart_model.h"

#include <QPalette>
#include <QPointF>
#include <QRect>

class QPainter;

namespace torva {

// Maps chart coordinates onto the plot rectangle and back.
class CChartMapping {
public:
    CChartMapping(const CScrollChartModel& model, const QRect& plot);

    double pixelX(double x) const;
    double pixelY(double y) const;
    QPointF pixel(const SChartPoint& point) const { return {pixelX(point.x), pixelY(point.y)}; }
    double chartX(double pixelX) const;
    double chartY(double pixelY) const;

private:
    QRectF m_plot;
    double m_start;
    double m_width;
    double m_yMin;
    double m_yMax;
};

// The plot rectangle inside the chart's drawing area: room below for the x labels.
QRect scrollChartPlotRect(const QRect& area);

// Draws the chart into area: background, grid in the palette's button-shadow colour, frame,
// x labels, every visible series as a polyline clipped to the window, and the read-out cross
// with the values at the cursor while the read-out is on.
void paintScrollChart(QPainter& painter, const QRect& area, const CScrollChartModel& model,
                      const QPalette& palette);

} // namespace torva
