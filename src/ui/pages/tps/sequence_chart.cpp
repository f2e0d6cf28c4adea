#include "ui/pages/tps/sequence_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace torva {

namespace {

const QColor kRpmColour(0, 0, 170);
const QColor kCamshaftColour(0, 170, 0);
constexpr double kUnitsPerMs = 20;

int lastX(const SSequencePulses& pulses) {
    int last = 1;
    for (const auto* series : {&pulses.rpm, &pulses.camshaft})
        if (!series->empty())
            last = std::max(last, series->back().x);
    return last;
}

// One pulse train in its band: level 1 at the band's top, 0 at its bottom.
void drawTrain(QPainter& painter, const std::vector<SPulsePoint>& train, const QRectF& band,
               double xScale, const QColor& colour) {
    if (train.empty())
        return;
    QPainterPath path;
    const auto at = [&](const SPulsePoint& p) {
        return QPointF(band.left() + p.x * xScale, p.level != 0 ? band.top() : band.bottom());
    };
    path.moveTo(QPointF(band.left(), band.bottom()));
    for (const SPulsePoint& point : train)
        path.lineTo(at(point));
    path.lineTo(QPointF(band.right(), band.bottom()));
    painter.setPen(QPen(colour, 1));
    painter.drawPath(path);
}

double markStepMs(double spanMs) {
    for (double decade = 1;; decade *= 10)
        for (const double factor : {1.0, 2.0, 5.0})
            if (spanMs / (factor * decade) <= 10)
                return factor * decade;
}

} // namespace

CSequenceChart::CSequenceChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(480, 220);
}

void CSequenceChart::setPulses(SSequencePulses pulses) {
    m_pulses = std::move(pulses);
    update();
}

void CSequenceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRectF plot(8, 8, width() - 16, height() - 16 - metrics.height());
    painter.setPen(QColor(190, 190, 190));
    painter.drawRect(plot);
    const double xScale = plot.width() / lastX(m_pulses);
    const double bandHeight = plot.height() / 2 - 16;
    drawTrain(painter, m_pulses.rpm, QRectF(plot.left(), plot.top() + 8, plot.width(), bandHeight),
              xScale, kRpmColour);
    drawTrain(painter, m_pulses.camshaft,
              QRectF(plot.left(), plot.center().y() + 8, plot.width(), bandHeight), xScale,
              kCamshaftColour);
    // About ten time marks, 1, 2 or 5 times a power of ten milliseconds apart.
    painter.setPen(Qt::black);
    const double lastMs = lastX(m_pulses) / kUnitsPerMs;
    const double markMs = markStepMs(lastMs);
    for (double ms = 0; ms <= lastMs; ms += markMs) {
        const double x = plot.left() + ms * kUnitsPerMs * xScale;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() - 4));
        painter.drawText(QPointF(x + 2, height() - 4), QStringLiteral("%1 ms").arg(ms));
    }
}

} // namespace torva
