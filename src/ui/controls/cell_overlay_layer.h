#pragma once

#include "ui/controls/cell_overlay.h"

#include <QFont>
#include <QStaticText>
#include <QWidget>

#include <vector>

namespace torva {

class CCellArray;

// A layer over the body cells of a CCellArray that draws a CCellOverlay on top of them. It takes
// no input: clicks, drags, keys and the header editor reach the grid as before, so the grid can
// be edited while the layer shows. Hovering a cell shows the cell's tip. Hidden until a first
// overlay is set.
class CCellOverlayLayer : public QWidget {
    Q_OBJECT
public:
    explicit CCellOverlayLayer(CCellArray& grid);

    // Shows overlay, repainting the cells that changed.
    void setOverlay(const CCellOverlay& overlay);
    // Hides the layer: the grid shows as it does without one.
    void clear();
    bool isShown() const { return m_shown; }
    const CCellOverlay& overlay() const { return m_overlay; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followGrid();
    void paintOverlayCell(QPainter& painter, int row, int column);
    void prepareText(int row, int column);

    CCellArray& m_grid;
    CCellOverlay m_overlay;
    // The cells' texts laid out once for the grid's cell font: a repaint only places them.
    std::vector<QStaticText> m_texts;
    QFont m_textFont;
    bool m_shown = false;
};

} // namespace torva
