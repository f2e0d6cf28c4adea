#include "ui/controls/transparent_bar_display.h"

#include "ui/controls/bar_scale.h"
#include "ui/controls/caption_wrap.h"
#include "ui/controls/msm_visual_manager.h"
#include "ui/controls/number_format.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace torva {

namespace {
constexpr int kMargin = 2;
constexpr int kGap = 3;
// A bar thinner than this no longer reads as a bar.
constexpr int kMinBarHeight = 4;
} // namespace

CTransparentBarDisplay::CTransparentBarDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

CTransparentBarDisplay::CTransparentBarDisplay(const QString& caption, const QString& format,
                                               double maximum, int divisions, QWidget* parent)
    : CTransparentBarDisplay(parent) {
    m_caption = caption;
    m_format = format;
    m_maximum = maximum;
    m_divisions = divisions;
}

void CTransparentBarDisplay::setCaption(const QString& caption) {
    if (caption != m_caption) {
        m_caption = caption;
        update();
    }
}

void CTransparentBarDisplay::setFormat(const QString& format) {
    m_format = format;
    update();
}

void CTransparentBarDisplay::setMaximum(double maximum) {
    setRange(m_minimum, maximum);
}

void CTransparentBarDisplay::setRange(double minimum, double maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

void CTransparentBarDisplay::setDivisions(int divisions) {
    m_divisions = divisions;
    update();
}

void CTransparentBarDisplay::setPos(double value) {
    // Refreshed five times a second with mostly unchanged values: repaint only on a change.
    if (value != m_value || !m_hasValue) {
        m_value = value;
        m_hasValue = true;
        update();
    }
}

void CTransparentBarDisplay::clearValue() {
    if (m_hasValue) {
        m_hasValue = false;
        update();
    }
}

double CTransparentBarDisplay::fraction() const {
    return m_hasValue ? barFraction(m_value, m_minimum, m_maximum) : 0.0;
}

QString CTransparentBarDisplay::valueText() const {
    return m_hasValue ? QString::fromStdString(formatNumber(m_format.toStdString(), m_value))
                      : QString();
}

void CTransparentBarDisplay::setBarColor(const QColor& colour) {
    m_barColour = colour;
    update();
}

QColor CTransparentBarDisplay::barColor() const {
    return m_barColour.isValid() ? m_barColour : CMSMVisualManager::get().colours().accent;
}

void CTransparentBarDisplay::setTextColor(const QColor& colour) {
    m_textColour = colour;
    update();
}

QColor CTransparentBarDisplay::textColor() const {
    return m_textColour.isValid() ? m_textColour : CMSMVisualManager::get().colours().text;
}

QSize CTransparentBarDisplay::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_caption) + metrics.horizontalAdvance(valueText()) + 60,
            metrics.height() * 2 + 14};
}

QSize CTransparentBarDisplay::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return {80, metrics.height() + 16};
}

void CTransparentBarDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = textColor();
    const QColor bar = barColor();
    const QFontMetrics metrics(font());
    const int textHeight = metrics.height();
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);

    // Caption left, value right. A caption too long for the line beside the value gets the
    // line to itself and the value goes under it, where the height allows; otherwise the
    // caption gives way to the value.
    const QString value = valueText();
    QFont bold = font();
    bold.setBold(true);
    const int valueWidth = QFontMetrics(bold).horizontalAdvance(value);
    const int markLength = std::max(3, textHeight / 3);
    const int preferredBar = std::max(8, textHeight * 3 / 4);
    const QRect line(area.left(), area.top(), area.width(), textHeight);
    // Judged by eliding itself: it rounds other than a plain width comparison would.
    const bool crowded =
        metrics.elidedText(m_caption, Qt::ElideRight, line.width() - valueWidth - 8) != m_caption;
    // The same bar for every gauge of a height, value under the caption or not, so that gauges
    // side by side line up.
    const int twoLineRoom = area.height() - 2 * textHeight - kGap - markLength;
    const int oneLineRoom = twoLineRoom + textHeight;
    const int barHeight =
        std::max(1, std::min({preferredBar, std::max(kMinBarHeight, twoLineRoom), oneLineRoom}));
    const bool stacked = crowded && twoLineRoom >= kMinBarHeight;
    const QRect valueLine = stacked ? line.translated(0, textHeight) : line;
    const int besideValue = line.width() - valueWidth - 8;
    // Stacked, a caption too long even for a line of its own goes on beside the value.
    const SCaptionLines caption =
        stacked ? wrapCaption(metrics, m_caption, line.width(), besideValue)
                : SCaptionLines{metrics.elidedText(m_caption, Qt::ElideRight, besideValue), {}};
    painter.setPen(text);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, caption.first);
    if (!caption.second.isEmpty())
        painter.drawText(valueLine.adjusted(0, 0, -valueWidth - 8, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, caption.second);
    painter.setFont(bold);
    painter.drawText(valueLine, Qt::AlignRight | Qt::AlignVCenter, value);

    // The bar sits on the scale marks at the bottom.
    const int barTop = area.bottom() - markLength - barHeight + 1;
    const QRectF track(area.left() + 0.5, barTop + 0.5, area.width() - 1.0, barHeight - 1.0);
    const qreal radius = std::min<qreal>(4.0, track.height() / 3);

    QPainterPath trackPath;
    trackPath.addRoundedRect(track, radius, radius);
    QLinearGradient well(track.topLeft(), track.bottomLeft());
    well.setColorAt(0.0, QColor(0, 0, 0, 40));
    well.setColorAt(0.35, QColor(255, 255, 255, 150));
    well.setColorAt(1.0, QColor(255, 255, 255, 200));
    painter.fillPath(trackPath, well);

    const double filled = fraction();
    if (filled > 0.0) {
        QLinearGradient fill(track.topLeft(), track.bottomLeft());
        fill.setColorAt(0.0, bar.lighter(135));
        fill.setColorAt(0.5, bar);
        fill.setColorAt(1.0, bar.darker(115));
        painter.save();
        painter.setClipPath(trackPath);
        painter.fillRect(QRectF(track.left(), track.top(), track.width() * filled, track.height()),
                         fill);
        painter.restore();
    }
    QColor border = text;
    border.setAlpha(110);
    painter.setPen(QPen(border, 1));
    painter.drawPath(trackPath);

    // Scale marks under the bar; the ends and the middle a little longer.
    QColor markColour = text;
    markColour.setAlpha(170);
    painter.setPen(QPen(markColour, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const std::vector<double> marks = scaleMarks(m_divisions);
    const int markTop = int(track.bottom()) + 1;
    for (size_t i = 0; i < marks.size(); ++i) {
        const bool major = i == 0 || i + 1 == marks.size() || 2 * i + 1 == marks.size();
        const int x = int(track.left() + marks[i] * (track.width() - 1));
        const int length = major ? markLength : std::max(2, markLength * 2 / 3);
        painter.drawLine(x, markTop, x, markTop + length - 1);
    }
}

} // namespace torva
