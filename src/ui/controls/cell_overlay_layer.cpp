#include "ui/controls/cell_overlay_layer.h"

#include "ui/controls/cell_array.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace torva {

namespace {

const QColor kSelectedFrame{20, 60, 170};
const QColor kCurrentFrame{120, 0, 0};

} // namespace

CCellOverlayLayer::CCellOverlayLayer(CCellArray& grid) : QWidget(&grid), m_grid(grid) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    m_grid.installEventFilter(this);
    hide();
}

void CCellOverlayLayer::setOverlay(const CCellOverlay& overlay) {
    const bool sameShape =
        m_shown && overlay.rows() == m_overlay.rows() && overlay.columns() == m_overlay.columns();
    if (!sameShape) {
        m_overlay = overlay;
        m_texts.assign(static_cast<std::size_t>(overlay.rows() * overlay.columns()), {});
        for (int row = 0; row < overlay.rows(); ++row) {
            for (int column = 0; column < overlay.columns(); ++column)
                prepareText(row, column);
        }
        m_shown = true;
        followGrid();
        show();
        raise();
        update();
        return;
    }
    for (int row = 0; row < overlay.rows(); ++row) {
        for (int column = 0; column < overlay.columns(); ++column) {
            if (overlay.cell(row, column) == m_overlay.cell(row, column))
                continue;
            m_overlay.cell(row, column) = overlay.cell(row, column);
            prepareText(row, column);
            update(m_grid.cellRect(row, column));
        }
    }
}

void CCellOverlayLayer::prepareText(int row, int column) {
    QStaticText& text = m_texts[static_cast<std::size_t>(row * m_overlay.columns() + column)];
    text.setText(m_overlay.cell(row, column).text);
    text.prepare(QTransform(), m_textFont);
}

void CCellOverlayLayer::clear() {
    m_shown = false;
    m_overlay = {};
    m_texts.clear();
    hide();
    QToolTip::hideText();
}

void CCellOverlayLayer::followGrid() {
    // The whole grid, so it never lags behind the grid's own layout; only body cells are drawn,
    // and the headers and their editor show through.
    setGeometry(m_grid.rect());
}

bool CCellOverlayLayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_grid || !m_shown)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) {
        followGrid();
    } else if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const auto [row, column] = m_grid.cellAt(help->pos());
        const bool inside =
            row >= 0 && column >= 0 && row < m_overlay.rows() && column < m_overlay.columns();
        if (inside && !m_overlay.cell(row, column).tip.isEmpty())
            QToolTip::showText(help->globalPos(), m_overlay.cell(row, column).tip, &m_grid,
                               m_grid.cellRect(row, column));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CCellOverlayLayer::paintEvent(QPaintEvent* event) {
    if (m_textFont != m_grid.cellFont()) {
        m_textFont = m_grid.cellFont();
        for (int row = 0; row < m_overlay.rows(); ++row) {
            for (int column = 0; column < m_overlay.columns(); ++column)
                prepareText(row, column);
        }
    }
    QPainter painter(this);
    painter.setFont(m_textFont);
    const int rows = std::min(m_overlay.rows(), m_grid.rows());
    const int columns = std::min(m_overlay.columns(), m_grid.columns());
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (m_grid.cellRect(row, column).intersects(event->rect()))
                paintOverlayCell(painter, row, column);
        }
    }
}

void CCellOverlayLayer::paintOverlayCell(QPainter& painter, int row, int column) {
    const SOverlayCell& item = m_overlay.cell(row, column);
    const CCell& cell = m_grid.cell(row, column);
    // Inside the grid lines, which stay visible.
    const QRect rect = m_grid.cellRect(row, column).adjusted(0, 0, -1, -1);
    const bool coversText = !item.text.isEmpty();
    if (item.shade >= 0) {
        painter.fillRect(rect, coversText ? overlayShadeOnWhite(item.shade)
                                          : overlayShadeColor(item.shade));
    } else {
        if (coversText)
            painter.fillRect(rect, Qt::white);
        painter.fillRect(rect, overlayEmptyMark());
    }
    // The live cell, and the selection where the cell's own marks are covered, are framed so
    // that the engine's place and the cells an edit acts on still show.
    if (cell.isCurrent() || (coversText && cell.isSelected())) {
        painter.setPen(QPen(cell.isCurrent() ? kCurrentFrame : kSelectedFrame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
    }
    if (!coversText)
        return;
    painter.setPen(item.shade > 0.6 ? Qt::white : Qt::black);
    const QStaticText& text = m_texts[static_cast<std::size_t>(row * m_overlay.columns() + column)];
    const QSizeF size = text.size();
    painter.drawStaticText(QPointF(rect.center().x() - size.width() / 2 + 1,
                                   rect.center().y() - size.height() / 2 + 1),
                           text);
}

} // namespace torva
