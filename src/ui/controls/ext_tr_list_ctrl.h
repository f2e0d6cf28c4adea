#pragma once

#include <QColor>
#include <QTableWidget>

namespace torva {

// A read-only list of rows under column headings, with grid lines and, by default, whole rows
// selected at a time.
class CExtTrListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CExtTrListCtrl(QWidget* parent = nullptr);

    // Inserts a column with its heading and width in pixels before column (or at the end);
    // returns its index.
    int InsertColumn(int column, const QString& heading, int width);
    // Inserts a row before row (or at the end) with text in the first column; returns its
    // index, or -1 when the list has no columns.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    int GetItemCount() const { return rowCount(); }
    void DeleteAllItems();

    void SetFullRowSel(bool fullRow);
    bool fullRowSel() const;
    void SetGridColor(const QColor& colour);
    QColor gridColor() const { return m_gridColour; }
    void SetTextColor(const QColor& colour);
    QColor textColor() const { return m_textColour; }
    void SetSelTextBkColor(const QColor& colour);
    QColor selTextBkColor() const { return m_selectionColour; }

    // Takes the installed visual manager's colours for the headings and frame; the manager
    // calls it when installed.
    void applyVisualManager();

private:
    QColor m_gridColour;
    QColor m_textColour;
    QColor m_selectionColour;
};

} // namespace torva
