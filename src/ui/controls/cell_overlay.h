#pragma once

#include <QBrush>
#include <QColor>
#include <QString>

#include <cstddef>
#include <vector>

namespace torva {

// One body cell of an overlay: how strongly it is shaded, what it shows and what hovering says.
struct SOverlayCell {
    // 0 (lightest) to 1 (darkest); negative marks a cell where nothing happened.
    double shade = -1;
    // Drawn in place of the cell's own text; empty leaves the cell's own text readable.
    QString text;
    QString tip;
    bool operator==(const SOverlayCell&) const = default;
};

// What a CCellOverlayLayer shows over a grid's body cells, row by row.
class CCellOverlay {
public:
    // Every cell unshaded and empty.
    void reset(int rows, int columns);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    SOverlayCell& cell(int row, int column) { return m_cells[index(row, column)]; }
    const SOverlayCell& cell(int row, int column) const { return m_cells[index(row, column)]; }
    bool operator==(const CCellOverlay&) const = default;

private:
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row * m_columns + column);
    }

    int m_rows = 0;
    int m_columns = 0;
    std::vector<SOverlayCell> m_cells;
};

// The tint of a shade over a cell's own colour.
QColor overlayShadeColor(double shade);
// The same tint over white, as one opaque colour (for cells whose own text is covered, and the
// legend).
QColor overlayShadeOnWhite(double shade);
// The plain mark of a cell where nothing happened: a grey wash that leaves its text readable.
QBrush overlayEmptyMark();

} // namespace torva
