#include "ui/controls/page_button.h"

#include "ui/controls/msm_visual_manager.h"

#include <QPainter>
#include <QPainterPath>

namespace torva {

namespace {
constexpr int kPadX = 16;
constexpr int kSqueezedPadX = 4;
constexpr int kPadY = 6;
constexpr qreal kRadius = 5;
} // namespace

CPageButton::CPageButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void CPageButton::setTitle(const QString& title) {
    setText(title);
    updateGeometry();
}

void CPageButton::setActive(bool active) {
    if (m_active != active) {
        m_active = active;
        update();
    }
}

QSize CPageButton::sizeHint() const {
    return minimumSizeHint() + QSize(2 * (kPadX - kSqueezedPadX), 0);
}

QSize CPageButton::minimumSizeHint() const {
    // Bold: the active tab's text is the widest.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return {metrics.horizontalAdvance(text()) + 2 * kSqueezedPadX, metrics.height() + 2 * kPadY};
}

void CPageButton::paintEvent(QPaintEvent*) {
    const auto& manager = CMSMVisualManager::get();
    const auto& colours = manager.colours();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // A tab: rounded at the top, open at the bottom where it meets the page.
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, 0.5);
    QPainterPath path;
    path.moveTo(box.bottomLeft());
    path.lineTo(box.left(), box.top() + kRadius);
    path.quadTo(box.topLeft(), QPointF(box.left() + kRadius, box.top()));
    path.lineTo(box.right() - kRadius, box.top());
    path.quadTo(box.topRight(), QPointF(box.right(), box.top() + kRadius));
    path.lineTo(box.bottomRight());
    path.closeSubpath();

    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    QColor face = m_active ? colours.accent : colours.window.lighter(m_hovered ? 112 : 104);
    gradient.setColorAt(0.0, face.lighter(115));
    gradient.setColorAt(1.0, face);
    painter.fillPath(path, gradient);
    painter.setPen(m_active ? colours.accent.darker(125) : colours.window.darker(135));
    painter.drawPath(path);

    QFont textFont = font();
    textFont.setBold(m_active);
    painter.setFont(textFont);
    painter.setPen(m_active ? colours.accentText : colours.text);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void CPageButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CPageButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace torva
