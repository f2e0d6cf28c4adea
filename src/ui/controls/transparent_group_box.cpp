#include "ui/controls/transparent_group_box.h"

#include "ui/controls/msm_visual_manager.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionGroupBox>

namespace torva {

CTransparentGroupBox::CTransparentGroupBox(QWidget* parent)
    : CTransparentGroupBox(QString(), parent) {}

CTransparentGroupBox::CTransparentGroupBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

void CTransparentGroupBox::paintEvent(QPaintEvent*) {
    const auto& colours = CMSMVisualManager::get().colours();
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect frame =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline runs clockwise from just right of the title round to just left of it.
    const QRectF box = QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = 5;
    const bool titled = !title().isEmpty();
    QFont bold = font();
    bold.setBold(true);
    const int titleWidth = QFontMetrics(bold).horizontalAdvance(title());
    const int titleLeft = frame.left() + 12;
    const qreal gapLeft = titled ? titleLeft - 4 : box.left() + radius;
    const qreal gapRight = titled ? titleLeft + titleWidth + 4 : box.left() + radius;
    QPainterPath outline;
    outline.moveTo(gapRight, box.top());
    outline.lineTo(box.right() - radius, box.top());
    outline.arcTo(box.right() - 2 * radius, box.top(), 2 * radius, 2 * radius, 90, -90);
    outline.lineTo(box.right(), box.bottom() - radius);
    outline.arcTo(box.right() - 2 * radius, box.bottom() - 2 * radius, 2 * radius, 2 * radius, 0,
                  -90);
    outline.lineTo(box.left() + radius, box.bottom());
    outline.arcTo(box.left(), box.bottom() - 2 * radius, 2 * radius, 2 * radius, 270, -90);
    outline.lineTo(box.left(), box.top() + radius);
    outline.arcTo(box.left(), box.top(), 2 * radius, 2 * radius, 180, -90);
    outline.lineTo(gapLeft, box.top());
    painter.setPen(QPen(colours.window.darker(150), 1));
    painter.drawPath(outline);

    if (titled) {
        painter.setFont(bold);
        painter.setPen(isEnabled() ? colours.text
                                   : palette().color(QPalette::Disabled, QPalette::WindowText));
        painter.drawText(QRect(titleLeft, label.top(), titleWidth + 1, label.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, title());
    }
}

} // namespace torva
