// Selecting cells: by keys around the anchor, by mouse, by rectangle.
#include "maps/map_array.h"

#include <algorithm>

namespace torva {

SCellSelection CMapArray::getSelection() const {
    SCellSelection selection;
    for (int column = 0; column < kMapColumns; ++column) {
        for (int row = 0; row < kMapRows; ++row) {
            if (!m_selected[row][column])
                continue;
            if (!selection.any) {
                selection.firstRow = row;
                selection.firstColumn = column;
                selection.any = true;
            }
            selection.lastRow = row;
            selection.lastColumn = column;
        }
    }
    return selection;
}

void CMapArray::moveSelection(EArrowKey key) {
    const SCellSelection selection = getSelection();
    if (!selection.any)
        return;
    int column = selection.firstColumn;
    int row = selection.firstRow;
    switch (key) {
    case EArrowKey::Left:
        column = std::max(column - 1, 0);
        break;
    case EArrowKey::Right:
        column = std::min(column + 1, kMapColumns - 1);
        break;
    case EArrowKey::Up:
        row = std::max(row - 1, 0);
        break;
    case EArrowKey::Down:
        row = std::min(row + 1, kMapRows - 1);
        break;
    case EArrowKey::Other:
        notifyChanged();
        return;
    }
    pressCell(column, row);
}

void CMapArray::extendSelection(EArrowKey key) {
    const SCellSelection s = getSelection();
    if (!s.any)
        return;
    const auto markColumn = [&](int column, bool on) {
        for (int row = s.firstRow; row <= s.lastRow; ++row)
            m_selected[row][column] = on;
    };
    const auto markRow = [&](int row, bool on) {
        for (int column = s.firstColumn; column <= s.lastColumn; ++column)
            m_selected[row][column] = on;
    };
    const int ac = m_anchorCol;
    const int ar = m_anchorRow;
    switch (key) {
    case EArrowKey::Left:
        if (ac < 0)
            return;
        if (ac < s.lastColumn)
            markColumn(s.lastColumn, false);
        else if (ac == s.lastColumn && s.firstColumn > 0)
            markColumn(s.firstColumn - 1, true);
        break;
    case EArrowKey::Right:
        if (ac < 0)
            return;
        if (ac == s.firstColumn && s.lastColumn < kMapColumns - 1)
            markColumn(s.lastColumn + 1, true);
        else if (ac > s.firstColumn)
            markColumn(s.firstColumn, false);
        break;
    case EArrowKey::Up:
        if (ar < 0)
            return;
        if (ar < s.lastRow)
            markRow(s.lastRow, false);
        else if (ar == s.lastRow && s.firstRow > 0)
            markRow(s.firstRow - 1, true);
        break;
    case EArrowKey::Down:
        if (ar < 0)
            return;
        if (ar == s.firstRow && s.lastRow < kMapRows - 1)
            markRow(s.lastRow + 1, true);
        else if (ar > s.firstRow)
            markRow(s.firstRow, false);
        break;
    case EArrowKey::Other:
        break;
    }
    notifyChanged();
}

void CMapArray::selectRect(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kMapRows - 1); ++row) {
        for (int column = std::max(firstColumn, 0); column <= std::min(lastColumn, kMapColumns - 1);
             ++column)
            m_selected[row][column] = true;
    }
    notifyChanged();
}

void CMapArray::clearSelection() {
    m_selected = {};
    notifyChanged();
}

void CMapArray::pressCell(int column, int row) {
    m_selected = {};
    m_anchorCol = column;
    m_anchorRow = row;
    selectRect(column, row, column, row);
}

void CMapArray::dragToCell(int column, int row) {
    if (m_anchorCol < 0 || m_anchorRow < 0)
        return pressCell(column, row);
    m_selected = {};
    selectRect(std::min(column, m_anchorCol), std::min(row, m_anchorRow),
               std::max(column, m_anchorCol), std::max(row, m_anchorRow));
}

} // namespace torva
