#include "ui/controls/msm_visual_manager.h"

#include "ui/controls/ext_tr_list_ctrl.h"
#include "ui/controls/msm_menu_bar.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QWidget>

namespace torva {

namespace {

std::unique_ptr<CMSMVisualManager>& installed() {
    static std::unique_ptr<CMSMVisualManager> manager;
    return manager;
}

QString cssColour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

} // namespace

void CMSMVisualManager::install(std::unique_ptr<CMSMVisualManager> manager) {
    installed() = std::move(manager);
    // Fusion draws the same on every platform and follows the palette fully.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(get().palette());
    // Controls that keep colours in style sheets take them again; the rest read the colours
    // when they paint.
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* menuBar = qobject_cast<CMSMMenuBar*>(widget)) {
            menuBar->applyVisualManager();
        } else if (auto* list = qobject_cast<CExtTrListCtrl*>(widget)) {
            list->applyVisualManager();
        }
        widget->update();
    }
}

const CMSMVisualManager& CMSMVisualManager::get() {
    static const CMSMVisualManager fallback;
    const auto& manager = installed();
    return manager ? *manager : fallback;
}

QPalette CMSMVisualManager::palette() const {
    QPalette result;
    const QColor button = m_colours.window.lighter(106);
    result.setColor(QPalette::Window, m_colours.window);
    result.setColor(QPalette::WindowText, m_colours.text);
    result.setColor(QPalette::Base, QColor(255, 255, 255));
    result.setColor(QPalette::AlternateBase, m_colours.window.lighter(112));
    result.setColor(QPalette::Text, m_colours.text);
    result.setColor(QPalette::Button, button);
    result.setColor(QPalette::ButtonText, m_colours.text);
    result.setColor(QPalette::Highlight, m_colours.accent);
    result.setColor(QPalette::HighlightedText, m_colours.accentText);
    result.setColor(QPalette::ToolTipBase, QColor(255, 255, 240));
    result.setColor(QPalette::ToolTipText, m_colours.text);
    result.setColor(QPalette::Light, button.lighter(130));
    result.setColor(QPalette::Midlight, button.lighter(115));
    result.setColor(QPalette::Mid, m_colours.window.darker(125));
    result.setColor(QPalette::Dark, m_colours.window.darker(160));
    result.setColor(QPalette::Shadow, m_colours.window.darker(250));
    const QColor disabled = m_colours.window.darker(170);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        result.setColor(QPalette::Disabled, role, disabled);
    }
    return result;
}

void CMSMVisualManager::fillBackground(QPainter& painter, const QRectF& rect) const {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, m_colours.window.lighter(112));
    gradient.setColorAt(1.0, m_colours.window);
    painter.fillRect(rect, gradient);
}

void CMSMVisualManager::fillButtonFace(QPainter& painter, const QRectF& rect, bool accent,
                                       bool pressed, bool hovered) const {
    QColor base = accent ? m_colours.accent : m_colours.window.lighter(108);
    if (hovered && !pressed) {
        base = base.lighter(accent ? 115 : 106);
    }
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, pressed ? base.darker(108) : base.lighter(112));
    gradient.setColorAt(1.0, pressed ? base : base.darker(106));

    QPainterPath path;
    path.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, gradient);
    painter.setPen(accent ? m_colours.accent.darker(130) : m_colours.window.darker(140));
    painter.drawPath(path);
    painter.restore();
}

QString CMSMVisualManager::menuStyleSheet() const {
    return QStringLiteral(
               "QMenuBar { background: %1; color: %2; border: none; padding: 1px 2px; }"
               "QMenuBar::item { background: transparent; padding: 4px 10px; border-radius: 3px; }"
               "QMenuBar::item:selected, QMenuBar::item:pressed { background: %3; color: %4; }"
               "QMenu { background: %5; color: %2; border: 1px solid %6; padding: 3px; }"
               "QMenu::item { padding: 4px 24px 4px 24px; border-radius: 3px; }"
               "QMenu::item:selected { background: %3; color: %4; }"
               "QMenu::separator { height: 1px; background: %6; margin: 3px 6px; }")
        .arg(cssColour(m_colours.caption), cssColour(m_colours.text), cssColour(m_colours.accent),
             cssColour(m_colours.accentText), cssColour(m_colours.window.lighter(115)),
             cssColour(m_colours.window.darker(130)));
}

} // namespace torva
