#pragma once

#include "ui/controls/cell.h"
#include "ui/controls/comp_ctrl.h"
#include "ui/controls/item_edit.h"

#include <QColor>
#include <QFont>
#include <QStringList>

#include <functional>
#include <vector>

namespace torva {

// A grid of body cells with a header row and a header column: text, background, selected and
// current marks and a trail tint per cell, header cells that an optional in-place editor
// (CItemEdit) edits, header colours that show the keyboard focus. Cells share the space evenly
// at any size. What the cells mean belongs to whoever fills them.
class CCellArray : public CCompCtrl {
    Q_OBJECT
public:
    explicit CCellArray(QWidget* parent = nullptr);

    // Sets the size and the header texts (missing texts stay empty); title is the corner text.
    void init(const QString& title, int rows, int columns, const QStringList& rowHeaders,
              const QStringList& columnHeaders);
    // Room for every cell's text at the smallest readable font.
    QSize minimumSizeHint() const override;
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    CCell& cell(int row, int column);
    const CCell& cell(int row, int column) const;
    void setRowHeader(int row, const QString& text);
    void setColumnHeader(int column, const QString& text);
    QString rowHeader(int row) const { return m_rowHeaders.value(row); }
    QString columnHeader(int column) const { return m_columnHeaders.value(column); }
    void setCornerText(const QString& text);
    void setCurrentCellColor(const QColor& color) { m_currentColor = color; }
    // The font of the body cells, which follows the cell size.
    const QFont& cellFont() const { return m_cellFont; }

    // The editor of header cells (nullptr: none); the grid does not own it.
    void setItemEdit(CItemEdit* edit);

    // Header colours: normal, and while the grid has the keyboard focus.
    static QColor headerColor() { return {222, 226, 232}; }
    static QColor focusHeaderColor() { return {90, 205, 90}; }

    // Where body cell (row, column) is drawn; row or column -1 is the header.
    QRect cellRect(int row, int column) const;
    // The body cell under a point, or {-1, -1}; headers give -1 in their coordinate.
    std::pair<int, int> cellAt(const QPoint& point) const;
    // Repaints one body cell.
    void updateCell(int row, int column) { update(cellRect(row, column)); }

    // Keys reach this handler first; false lets the grid's own handling follow.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) {
        m_keyHandler = std::move(handler);
    }

signals:
    void cellPressed(int row, int column);
    void cellDragged(int row, int column);
    void focusChanged(bool focused);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The width of the widest text a cell shows ("8000") at this pixel size.
    int widestTextWidth(int pixels, bool bold) const;
    int columnX(int column) const; // left edge; column -1 is the header, m_columns the right end
    int rowY(int row) const;
    void layoutFonts();
    void paintCell(QPainter& painter, int row, int column);
    void paintHeaders(QPainter& painter, const QRect& dirty);
    void paintSelectionFrame(QPainter& painter);

    int m_rows = 0;
    int m_columns = 0;
    std::vector<CCell> m_cells;
    QStringList m_rowHeaders;
    QStringList m_columnHeaders;
    QString m_corner;
    QColor m_currentColor{120, 0, 0};
    CItemEdit* m_itemEdit = nullptr;
    std::function<bool(QKeyEvent*)> m_keyHandler;
    QFont m_cellFont;
    QFont m_headerFont;
    int m_headerWidth = 0;
    int m_headerHeight = 0;
    bool m_dragging = false;
};

} // namespace torva
