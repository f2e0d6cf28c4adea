#include "ui/controls/cell_overlay_legend.h"

#include "ui/controls/cell_overlay.h"

#include <QFontMetrics>
#include <QPainter>

namespace torva {

namespace {

constexpr int kStripSteps = 6;
constexpr int kStepWidth = 9;
constexpr int kGap = 4;
constexpr int kWideGap = 10;

} // namespace

CCellOverlayLegend::CCellOverlayLegend(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CCellOverlayLegend::setTexts(const QString& low, const QString& high,
                                  const QString& emptyCaption) {
    m_low = low;
    m_high = high;
    m_emptyCaption = emptyCaption;
    updateGeometry();
    update();
}

QSize CCellOverlayLegend::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(m_low) + kGap + kStripSteps * kStepWidth + kGap +
                      metrics.horizontalAdvance(m_high) + kWideGap + metrics.height() + kGap +
                      metrics.horizontalAdvance(m_emptyCaption);
    return {width, metrics.height() + 4};
}

void CCellOverlayLegend::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int boxTop = (height() - metrics.height()) / 2;
    const int boxHeight = metrics.height();
    const auto text = [&](int x, const QString& value) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(x, 0, metrics.horizontalAdvance(value), height()),
                         Qt::AlignVCenter | Qt::AlignLeft, value);
        return x + metrics.horizontalAdvance(value);
    };
    int x = text(0, m_low) + kGap;
    // The shades as they look over a white cell.
    for (int step = 0; step < kStripSteps; ++step) {
        const QRect box(x + step * kStepWidth, boxTop, kStepWidth, boxHeight);
        painter.fillRect(box, overlayShadeOnWhite(double(step) / (kStripSteps - 1)));
    }
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(QRect(x, boxTop, kStripSteps * kStepWidth, boxHeight).adjusted(0, 0, -1, -1));
    x = text(x + kStripSteps * kStepWidth + kGap, m_high) + kWideGap;
    const QRect empty(x, boxTop, boxHeight, boxHeight);
    painter.fillRect(empty, Qt::white);
    painter.fillRect(empty, overlayEmptyMark());
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(empty.adjusted(0, 0, -1, -1));
    text(x + boxHeight + kGap, m_emptyCaption);
}

} // namespace torva
