#include "ui/controls/cell_array.h"

#include "ui/controls/dialog_scaling.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace torva {

namespace {

const QColor kGridLine{170, 176, 186};
const QColor kSelectionTint{40, 90, 200, 70};
const QColor kSelectionFrame{20, 60, 170};
const QColor kTrailColor{120, 0, 0};
constexpr int kMinimumCellWidth = 18;
constexpr int kMinimumCellHeight = 12;
// Room around a cell's text.
constexpr int kTextMargin = 4;

} // namespace

CCellArray::CCellArray(QWidget* parent) : CCompCtrl(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CCellArray::minimumSizeHint() const {
    // Cells where the widest text fits at the smallest readable font; a smaller place scrolls
    // the grid instead.
    const int pixels = readableFontPixelSize(*this);
    const int cellWidth = widestTextWidth(pixels, false) + kTextMargin;
    const int cellHeight = (pixels * 4 + 2) / 3;
    return {(std::max(m_columns, 1) + 1) * cellWidth, (std::max(m_rows, 1) + 1) * cellHeight};
}

int CCellArray::widestTextWidth(int pixels, bool bold) const {
    QFont text = font();
    text.setPixelSize(pixels);
    text.setBold(bold);
    return QFontMetrics(text).horizontalAdvance(QStringLiteral("8000"));
}

void CCellArray::init(const QString& title, int rows, int columns, const QStringList& rowHeaders,
                      const QStringList& columnHeaders) {
    m_rows = rows;
    m_columns = columns;
    m_cells.assign(static_cast<std::size_t>(rows * columns), CCell{});
    m_corner = title;
    m_rowHeaders = rowHeaders;
    m_columnHeaders = columnHeaders;
    while (m_rowHeaders.size() < rows)
        m_rowHeaders.append(QString());
    while (m_columnHeaders.size() < columns)
        m_columnHeaders.append(QString());
    layoutFonts();
    update();
}

CCell& CCellArray::cell(int row, int column) {
    return m_cells[static_cast<std::size_t>(row * m_columns + column)];
}

const CCell& CCellArray::cell(int row, int column) const {
    return m_cells[static_cast<std::size_t>(row * m_columns + column)];
}

void CCellArray::setRowHeader(int row, const QString& text) {
    m_rowHeaders[row] = text;
    update(cellRect(row, -1));
}

void CCellArray::setColumnHeader(int column, const QString& text) {
    m_columnHeaders[column] = text;
    update(cellRect(-1, column));
}

void CCellArray::setCornerText(const QString& text) {
    m_corner = text;
    update(cellRect(-1, -1));
}

void CCellArray::setItemEdit(CItemEdit* edit) {
    m_itemEdit = edit;
    if (edit)
        edit->create(this);
}

// ---- Geometry
// ------------------------------------------------------------------------------------

int CCellArray::columnX(int column) const {
    if (column < 0)
        return 0;
    const int body = width() - m_headerWidth;
    return m_headerWidth + body * column / std::max(m_columns, 1);
}

int CCellArray::rowY(int row) const {
    if (row < 0)
        return 0;
    const int body = height() - m_headerHeight;
    return m_headerHeight + body * row / std::max(m_rows, 1);
}

QRect CCellArray::cellRect(int row, int column) const {
    const int left = columnX(column);
    const int right = column < 0 ? m_headerWidth : columnX(column + 1);
    const int top = rowY(row);
    const int bottom = row < 0 ? m_headerHeight : rowY(row + 1);
    return {left, top, right - left, bottom - top};
}

std::pair<int, int> CCellArray::cellAt(const QPoint& point) const {
    const auto find = [](int position, int start, int count, auto edge) {
        if (position < start)
            return -1;
        for (int i = 0; i < count; ++i) {
            if (position < edge(i + 1))
                return i;
        }
        return count - 1;
    };
    const int row = find(point.y(), m_headerHeight, m_rows, [this](int r) { return rowY(r); });
    const int column =
        find(point.x(), m_headerWidth, m_columns, [this](int c) { return columnX(c); });
    return {row, column};
}

void CCellArray::layoutFonts() {
    // Fonts follow the cell size so that the widest text fits a cell at any window size.
    const int columns = std::max(m_columns, 1);
    const int rows = std::max(m_rows, 1);
    m_headerWidth = std::clamp(width() * 7 / (5 * (columns + 1)), kMinimumCellWidth, width() / 4);
    m_headerHeight = std::max(kMinimumCellHeight, height() / (rows + 1));
    const int cellWidth = std::max(kMinimumCellWidth, (width() - m_headerWidth) / columns);
    const int cellHeight = std::max(kMinimumCellHeight, (height() - m_headerHeight) / rows);
    // The largest font up to 16 pixels whose widest text fits a cell, never below the smallest
    // readable one; headers are bold where bold text fits too.
    const int readable = readableFontPixelSize(*this);
    int pixels = std::max(16, readable);
    while (pixels > readable && (pixels > cellHeight * 3 / 4 ||
                                 widestTextWidth(pixels, false) + kTextMargin > cellWidth))
        --pixels;
    m_cellFont = font();
    m_cellFont.setPixelSize(pixels);
    m_headerFont = m_cellFont;
    m_headerFont.setBold(widestTextWidth(pixels, true) + kTextMargin <= cellWidth);
}

void CCellArray::resizeEvent(QResizeEvent* event) {
    CCompCtrl::resizeEvent(event);
    layoutFonts();
}

// ---- Painting
// ------------------------------------------------------------------------------------

void CCellArray::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().window());
    painter.setFont(m_cellFont);
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            if (cellRect(row, column).intersects(dirty))
                paintCell(painter, row, column);
        }
    }
    paintHeaders(painter, dirty);
    paintSelectionFrame(painter);
}

void CCellArray::paintCell(QPainter& painter, int row, int column) {
    const CCell& item = cell(row, column);
    const QRect rect = cellRect(row, column);
    painter.fillRect(rect, item.isCurrent() ? m_currentColor : item.bkColor());
    if (item.trail() > 0 && !item.isCurrent()) {
        QColor tint = kTrailColor;
        tint.setAlphaF(0.55 * std::min(item.trail(), 1.0));
        painter.fillRect(rect.adjusted(2, 2, -2, -2), tint);
    }
    if (item.isSelected())
        painter.fillRect(rect, kSelectionTint);
    painter.setPen(kGridLine);
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.setPen(item.isCurrent() || item.trail() > 0.5 ? Qt::white : Qt::black);
    painter.drawText(rect, Qt::AlignCenter, item.getTxt());
}

void CCellArray::paintHeaders(QPainter& painter, const QRect& dirty) {
    const QColor background = hasFocus() ? focusHeaderColor() : headerColor();
    painter.setFont(m_headerFont);
    const auto paintHeader = [&](const QRect& rect, const QString& text) {
        if (!rect.intersects(dirty))
            return;
        painter.fillRect(rect, background);
        painter.setPen(kGridLine);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::AlignCenter, text);
    };
    paintHeader(cellRect(-1, -1), m_corner);
    for (int column = 0; column < m_columns; ++column)
        paintHeader(cellRect(-1, column), m_columnHeaders[column]);
    for (int row = 0; row < m_rows; ++row)
        paintHeader(cellRect(row, -1), m_rowHeaders[row]);
}

void CCellArray::paintSelectionFrame(QPainter& painter) {
    int first = -1;
    int last = -1;
    int left = m_columns;
    int right = -1;
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            if (!cell(row, column).isSelected())
                continue;
            first = first < 0 ? row : first;
            last = row;
            left = std::min(left, column);
            right = std::max(right, column);
        }
    }
    if (first < 0)
        return;
    const QRect frame = cellRect(first, left).united(cellRect(last, right));
    painter.setPen(QPen(kSelectionFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
}

// ---- Input
// ---------------------------------------------------------------------------------------

void CCellArray::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const auto [row, column] = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || row < 0 || column < 0)
        return;
    m_dragging = true;
    emit cellPressed(row, column);
}

void CCellArray::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        m_dragging = false;
        return;
    }
    const QPoint inside(std::clamp(event->position().toPoint().x(), m_headerWidth, width() - 1),
                        std::clamp(event->position().toPoint().y(), m_headerHeight, height() - 1));
    const auto [row, column] = cellAt(inside);
    emit cellDragged(row, column);
}

void CCellArray::mouseDoubleClickEvent(QMouseEvent* event) {
    const auto [row, column] = cellAt(event->position().toPoint());
    if (!m_itemEdit || (row < 0) == (column < 0))
        return;
    if (row < 0)
        m_itemEdit->begin(EItemKind::ColumnHeader, column, cellRect(-1, column),
                          m_columnHeaders[column]);
    else
        m_itemEdit->begin(EItemKind::RowHeader, row, cellRect(row, -1), m_rowHeaders[row]);
}

void CCellArray::keyPressEvent(QKeyEvent* event) {
    if (m_keyHandler && m_keyHandler(event))
        return;
    CCompCtrl::keyPressEvent(event);
}

void CCellArray::focusInEvent(QFocusEvent* event) {
    CCompCtrl::focusInEvent(event);
    update();
    emit focusChanged(true);
}

void CCellArray::focusOutEvent(QFocusEvent* event) {
    CCompCtrl::focusOutEvent(event);
    update();
    emit focusChanged(false);
}

} // namespace torva
