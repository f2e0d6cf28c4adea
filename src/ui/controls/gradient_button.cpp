#include "ui/controls/gradient_button.h"

#include "ui/controls/msm_visual_manager.h"

#include <QPainter>

namespace torva {

CGradientButton::CGradientButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
}

CGradientButton::CGradientButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
}

QSize CGradientButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const QSize base = QPushButton::sizeHint();
    return {std::max(base.width(), metrics.horizontalAdvance(text()) + 28),
            std::max(base.height(), metrics.height() + 12)};
}

void CGradientButton::paintEvent(QPaintEvent*) {
    const auto& manager = CMSMVisualManager::get();
    const auto& colours = manager.colours();
    QPainter painter(this);
    const bool accent = isDefault() || isChecked();
    manager.fillButtonFace(painter, rect(), accent, isDown(),
                           isEnabled() && testAttribute(Qt::WA_UnderMouse));
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(accent ? colours.accentText : colours.accent, 1, Qt::DotLine));
        painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 2, 2);
    }

    QRect content = rect().adjusted(6, 2, -6, -2);
    if (!icon().isNull()) {
        const QSize size = iconSize();
        const QRect iconRect(content.left(), content.center().y() - size.height() / 2, size.width(),
                             size.height());
        icon().paint(&painter, iconRect, Qt::AlignCenter,
                     isEnabled() ? QIcon::Normal : QIcon::Disabled);
        content.setLeft(iconRect.right() + 4);
    }
    QColor textColour = accent ? colours.accentText : colours.text;
    if (!isEnabled()) {
        textColour = palette().color(QPalette::Disabled, QPalette::ButtonText);
    }
    painter.setPen(textColour);
    painter.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace torva
