#include "ui/pages/tps/tps_correlation_chart.h"

#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "ui/pages/common/page_texts.h"

#include <QPainter>
#include <QTimer>

namespace torva {

namespace {

constexpr int kTickMs = 200;
constexpr double kAxisMax = 5.0;
constexpr double kGridStep = 0.5;
constexpr int kGridLines = 10;
const QColor kGridColour(190, 190, 190);
const QColor kSeriesColours[] = {QColor(200, 20, 20), QColor(20, 20, 200)};
constexpr const char* kLegend[] = {PL("Wejście"), PL("Wyjście")};

} // namespace

CTPSCorelationChart::CTPSCorelationChart(CLPGDevice& device, QWidget* parent)
    : CCompCtrl(parent), m_device(device), m_timer(new QTimer(this)) {
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &CTPSCorelationChart::tick);
    setMinimumSize(360, 320);
}

void CTPSCorelationChart::start() {
    m_timer->start();
}

void CTPSCorelationChart::stop() {
    m_timer->stop();
    m_points.clear();
    update();
}

void CTPSCorelationChart::tick() {
    try {
        if (!m_device.isConnected() || m_device.diagData().count() == 0)
            return;
        DiagSample sample{};
        m_device.diagData().latest(sample);
        addSample(sample);
    } catch (const std::exception&) {
        // A sample that cannot be taken now is simply not plotted.
    }
}

void CTPSCorelationChart::addSample(const DiagSample& sample) {
    m_points.add(sample, m_device.config());
    update();
}

void CTPSCorelationChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int left = metrics.height() * 2 + metrics.horizontalAdvance(QStringLiteral("0.0")) + 4;
    const int bottom = metrics.height() * 2 + 8;
    const QRect plot(left, 8, width() - left - 12, height() - bottom - 8);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    const auto xAt = [&](double v) { return plot.left() + v / kAxisMax * plot.width(); };
    const auto yAt = [&](double v) { return plot.bottom() - v / kAxisMax * plot.height(); };

    for (int i = 0; i <= kGridLines; ++i) {
        const double value = i * kGridStep;
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(xAt(value), plot.top()), QPointF(xAt(value), plot.bottom()));
        painter.drawLine(QPointF(plot.left(), yAt(value)), QPointF(plot.right(), yAt(value)));
        painter.setPen(Qt::black);
        const QString label = QString::asprintf("%.1f", value);
        painter.drawText(QRectF(xAt(value) - 20, plot.bottom() + 2, 40, metrics.height()),
                         Qt::AlignCenter, label);
        painter.drawText(QRectF(0, yAt(value) - metrics.height() / 2.0, left - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.drawText(
        QRect(plot.left(), height() - metrics.height() - 2, plot.width(), metrics.height()),
        Qt::AlignCenter, translatedText(PL("TPS1 [V]")));
    painter.save();
    painter.translate(metrics.height(), plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, -metrics.height(), plot.height(), metrics.height()),
                     Qt::AlignCenter, translatedText(PL("TPS2 [V]")));
    painter.restore();

    // Legend in the top left corner, where the pairs of a working pedal never go.
    for (int series = 0; series < 2; ++series) {
        const int y = plot.top() + 8 + series * (metrics.height() + 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSeriesColours[series]);
        painter.drawEllipse(QPoint(plot.left() + 12, y + metrics.height() / 2), 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(plot.left() + 22, y + metrics.ascent(), translatedText(kLegend[series]));
    }

    painter.setClipRect(plot);
    painter.setPen(Qt::NoPen);
    for (const STpsCorrelationPoint& point : m_points.points()) {
        painter.setBrush(kSeriesColours[point.series]);
        painter.drawEllipse(QRectF(xAt(point.x) - 1.5, yAt(point.y) - 1.5, 3, 3));
    }
}

} // namespace torva
