#pragma once

#include "maps/map_array.h"
#include "maps/map_edit.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/item_edit.h"
#include "ui/pages/maps/value_entry_dlg.h"

#include <QObject>

#include <functional>
#include <memory>

class QKeyEvent;
class QMenu;

namespace torva {

// The header editor of a time-map grid: typed header values go through the channel's rules.
class CMapHeaderEdit : public CItemEdit {
    Q_OBJECT
public:
    explicit CMapHeaderEdit(CMapEdit& rules) : m_rules(rules) {}
    QString getText(EItemKind kind, int index, const QString& typed) override;

private:
    CMapEdit& m_rules;
};

// Binds a map's rules (CMapArray) to the cell grid that draws it: cells, headers, live cell and
// trail follow the map; mouse, keys and the context menu's tools go to the map. A page places
// the view, routes its keys through handleKey (after handling the keys that couple its two
// grids, such as Ctrl+Up/Down with a coupling factor) and calls refresh and refreshLive. The
// header rules' axis listener refreshes this grid until the page sets its own.
class CMapGrid : public QObject {
    Q_OBJECT
public:
    // rules: the header editor's rules, for the time-map grid of a page; nullptr for none.
    CMapGrid(std::unique_ptr<CMapArray> map, CCellArray& view, CMapEdit* rules = nullptr);

    CMapArray& map() { return *m_map; }
    CCellArray& view() { return m_view; }
    // Ctrl+Up/Down's step: 0.1 ms on time maps, 1 % on emulation maps.
    double step() const;

    // Cells from the record, headers from the axes.
    void refresh();
    // The live operating point of the newest sample (and the connection state).
    void refreshLive(double rpm, double load, bool connected);
    // Arrows (Shift widens), Ctrl+Up/Down steps, Ctrl+C/V copy and paste, Ctrl+Z/Y undo and
    // redo; a digit, sign or decimal mark typed while the grid has the focus starts typing a
    // value for the selected cells. True when the key was the grid's.
    bool handleKey(QKeyEvent* event);

    // The tools as the context menu runs them (values asked for first).
    void copyToClipboard();
    void pasteFromClipboard();
    void askAndSetValue();
    void askAndAdd();
    void askAndScale();
    // The value typed into the cell editor, for every selected cell: refused with the map's
    // range when it is no number or outside, else written as "Ustaw wartość..." writes it.
    void setTypedValue(const QString& typed);
    // The in-place editor over the first selected cell, while a value is being typed.
    CItemEdit& cellEdit() { return m_cellEdit; }

    // Copies the cells, marks and trail of the map into the view, repainting what changed.
    void syncView();
    // Tools of the page's own, added at the end of the context menu each time it opens.
    void setMenuExtension(std::function<void(QMenu&)> extend) { m_extendMenu = std::move(extend); }

private:
    void refreshHeaders();
    void showContextMenu(const QPoint& where);
    void beginTyping(const QString& first);
    EEditResult underWaitCursor(const std::function<EEditResult()>& edit);
    // A map tool's edit under the wait cursor; a refusal says why.
    EEditResult runTool(const std::function<EEditResult()>& edit);
    // The map's range with its ends as the map shows them.
    SEntryRange mapRange() const;
    // The number asked for in a CValueEntryDlg, or std::nullopt when cancelled.
    std::optional<double> ask(const char* title, const char* label, const QString& start,
                              const SEntryRange& range);

    std::unique_ptr<CMapArray> m_map;
    CCellArray& m_view;
    std::unique_ptr<CMapHeaderEdit> m_headerEdit;
    CItemEdit m_cellEdit;
    std::function<void(QMenu&)> m_extendMenu;
};

} // namespace torva
