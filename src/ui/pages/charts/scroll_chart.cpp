#include "ui/pages/charts/scroll_chart.h"

#include "ui/pages/charts/scroll_chart_painter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <cmath>

namespace torva {

namespace {

constexpr double kZoomPerWheelNotch = 0.8; // one notch up shows 80 % of the width
constexpr double kPanPerWheelNotch = 0.1;  // share of the width a sideways notch moves
constexpr double kWheelNotch = 120.0;

} // namespace

CScrollChartView::CScrollChartView(QWidget* parent)
    : CCompCtrl(parent), m_scrollBar(new QScrollBar(Qt::Horizontal, this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this,
            &CScrollChartView::onScrollBarAction);
    modelChanged();
}

void CScrollChartView::modelChanged() {
    const QSignalBlocker blocker(m_scrollBar);
    const int page = m_model.thumbPage();
    m_scrollBar->setRange(0, CScrollChartModel::kThumbRange - page);
    m_scrollBar->setPageStep(page);
    m_scrollBar->setValue(m_model.thumbPosition());
    update();
}

void CScrollChartView::addSeries(int id, const SChartSeriesStyle& style, bool visible) {
    m_model.addSeries(id, style, visible);
    update();
}

void CScrollChartView::addPoint(int series, double x, double y) {
    const auto result = m_model.addPoint(series, x, y);
    if (result == CScrollChartModel::EAddResult::WindowMoved) {
        modelChanged();
    } else if (result == CScrollChartModel::EAddResult::Added) {
        update();
    }
}

void CScrollChartView::clearChart() {
    m_model.clearChart();
    modelChanged();
}

void CScrollChartView::setSeriesVisible(int series, bool visible) {
    if (m_model.setSeriesVisible(series, visible)) {
        update();
    }
}

void CScrollChartView::setReadOut(bool on) {
    m_model.setReadOut(on);
    update();
}

QRect CScrollChartView::chartArea() const {
    return QRect(0, 0, width(), std::max(0, height() - m_scrollBar->sizeHint().height()));
}

QRect CScrollChartView::plotRect() const {
    return scrollChartPlotRect(chartArea());
}

QSize CScrollChartView::sizeHint() const {
    return {640, 320};
}

QSize CScrollChartView::minimumSizeHint() const {
    return {160, 100};
}

void CScrollChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintScrollChart(painter, chartArea(), m_model, palette());
}

void CScrollChartView::resizeEvent(QResizeEvent*) {
    const int barHeight = m_scrollBar->sizeHint().height();
    m_scrollBar->setGeometry(0, height() - barHeight, width(), barHeight);
}

void CScrollChartView::onScrollBarAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        m_model.lineLeft();
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        m_model.lineRight();
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_model.pageLeft();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_model.pageRight();
        break;
    case QAbstractSlider::SliderToMinimum:
        m_model.scrollToStart();
        break;
    case QAbstractSlider::SliderToMaximum:
        m_model.scrollToEnd();
        break;
    case QAbstractSlider::SliderMove:
        m_model.scrollToThumb(m_scrollBar->sliderPosition());
        break;
    default:
        return;
    }
    // The slider applies this position instead of its own step.
    m_scrollBar->setSliderPosition(m_model.thumbPosition());
    update();
}

void CScrollChartView::placeCursor(const QPointF& position) {
    const QRect plot = plotRect();
    if (!plot.contains(position.toPoint())) {
        m_model.clearCursor();
        return;
    }
    const CChartMapping map(m_model, plot);
    m_model.setCursor(map.chartX(position.x()), map.chartY(position.y()));
}

void CScrollChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && plotRect().contains(event->position().toPoint())) {
        m_dragX = event->position().x();
        m_dragWindowStart = m_model.windowStart();
        setCursor(Qt::ClosedHandCursor);
    }
}

void CScrollChartView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragX) {
        const double unitsPerPixel = m_model.windowWidth() / std::max(1, plotRect().width());
        m_model.setWindowStart(m_dragWindowStart -
                               (event->position().x() - *m_dragX) * unitsPerPixel);
        modelChanged();
    }
    placeCursor(event->position());
    update();
}

void CScrollChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dragX) {
        m_dragX.reset();
        unsetCursor();
    }
}

void CScrollChartView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const QRect plot = plotRect();
    const CChartMapping map(m_model, plot);
    if (delta.y() != 0) {
        const double anchor = plot.contains(event->position().toPoint())
                                  ? map.chartX(event->position().x())
                                  : m_model.windowStart() + m_model.windowWidth() / 2;
        m_model.zoom(std::pow(kZoomPerWheelNotch, delta.y() / kWheelNotch), anchor);
    } else if (delta.x() != 0) {
        m_model.panBy(-delta.x() / kWheelNotch * kPanPerWheelNotch * m_model.windowWidth());
    } else {
        event->ignore();
        return;
    }
    placeCursor(event->position());
    modelChanged();
    event->accept();
}

void CScrollChartView::leaveEvent(QEvent*) {
    m_model.clearCursor();
    update();
}

} // namespace torva
