#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <memory>

class QPainter;
class QRectF;

namespace torva {

// The colours every control draws with. Everything else is derived from these five.
struct SVisualColours {
    QColor window{225, 225, 225};  // dialog and page backgrounds
    QColor caption{210, 210, 210}; // caption bar, menu bar and page-button row
    QColor accent{40, 90, 160};    // active page button, bars, selection, focus
    QColor text{30, 30, 30};       // text over window and caption
    QColor accentText{255, 255, 255};
};

// The application-wide colour scheme. One manager is installed at a time; controls ask the
// installed one for colours at paint time, so installing another one recolours every window.
class CMSMVisualManager {
public:
    CMSMVisualManager() = default;
    explicit CMSMVisualManager(const SVisualColours& colours) : m_colours(colours) {}
    virtual ~CMSMVisualManager() = default;

    // Makes manager the installed one: sets the application's style and palette and repaints
    // every window. Needs a QApplication.
    static void install(std::unique_ptr<CMSMVisualManager> manager);
    // The installed manager, or a default one when none was installed.
    static const CMSMVisualManager& get();

    const SVisualColours& colours() const { return m_colours; }

    virtual QPalette palette() const;
    // The light-to-window gradient behind pages and dialogs.
    void fillBackground(QPainter& painter, const QRectF& rect) const;
    // A raised or pressed face for buttons; accent faces are for active or default buttons.
    void fillButtonFace(QPainter& painter, const QRectF& rect, bool accent, bool pressed,
                        bool hovered) const;
    // Style sheet for the menu bar and its drop-down menus.
    QString menuStyleSheet() const;

private:
    SVisualColours m_colours;
};

} // namespace torva
