#include "ui/controls/ext_tr_list_ctrl.h"

#include "ui/controls/msm_visual_manager.h"

#include <QHeaderView>

namespace torva {

CExtTrListCtrl::CExtTrListCtrl(QWidget* parent) : QTableWidget(parent) {
    const auto& colours = CMSMVisualManager::get().colours();
    m_gridColour = colours.window.darker(115);
    m_textColour = colours.text;
    m_selectionColour = colours.accent;

    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(true);
    setWordWrap(false);
    SetFullRowSel(true);
    applyVisualManager();
}

int CExtTrListCtrl::InsertColumn(int column, const QString& heading, int width) {
    const int at = (column < 0 || column > columnCount()) ? columnCount() : column;
    insertColumn(at);
    setHorizontalHeaderItem(at, new QTableWidgetItem(heading));
    setColumnWidth(at, width);
    return at;
}

int CExtTrListCtrl::InsertItem(int row, const QString& text) {
    if (columnCount() == 0) {
        return -1;
    }
    const int at = (row < 0 || row > rowCount()) ? rowCount() : row;
    insertRow(at);
    for (int column = 0; column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? text : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(at, column, item);
    }
    return at;
}

bool CExtTrListCtrl::SetItemText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        return false;
    }
    cell->setText(text);
    return true;
}

QString CExtTrListCtrl::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CExtTrListCtrl::DeleteAllItems() {
    setRowCount(0);
}

void CExtTrListCtrl::SetFullRowSel(bool fullRow) {
    setSelectionBehavior(fullRow ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

bool CExtTrListCtrl::fullRowSel() const {
    return selectionBehavior() == QAbstractItemView::SelectRows;
}

void CExtTrListCtrl::SetGridColor(const QColor& colour) {
    m_gridColour = colour;
    applyVisualManager();
}

void CExtTrListCtrl::SetTextColor(const QColor& colour) {
    m_textColour = colour;
    applyVisualManager();
}

void CExtTrListCtrl::SetSelTextBkColor(const QColor& colour) {
    m_selectionColour = colour;
    applyVisualManager();
}

void CExtTrListCtrl::applyVisualManager() {
    const auto& colours = CMSMVisualManager::get().colours();
    // The grid colour has no palette role, so the colours go through a style sheet.
    setStyleSheet(QStringLiteral("QTableWidget { gridline-color: %1; color: %2;"
                                 " selection-background-color: %3; selection-color: %4;"
                                 " background: #ffffff; border: 1px solid %5; }"
                                 "QHeaderView::section { background: %6; color: %7;"
                                 " padding: 3px 6px; border: none;"
                                 " border-right: 1px solid %5; border-bottom: 1px solid %5; }")
                      .arg(m_gridColour.name(), m_textColour.name(), m_selectionColour.name(),
                           colours.accentText.name(), colours.window.darker(140).name(),
                           colours.caption.lighter(108).name(), colours.text.name()));
}

} // namespace torva
