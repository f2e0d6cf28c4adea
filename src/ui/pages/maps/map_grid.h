#pragma once

#include "maps/map_array.h"
#include "maps/map_edit.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/item_edit.h"

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
    // redo. True when the key was the grid's.
    bool handleKey(QKeyEvent* event);

    // The tools as the context menu runs them (values asked for first).
    void copyToClipboard();
    void pasteFromClipboard();
    void askAndSetValue();
    void askAndAdd();
    void askAndScale();

    // Copies the cells, marks and trail of the map into the view, repainting what changed.
    void syncView();
    // Tools of the page's own, added at the end of the context menu each time it opens.
    void setMenuExtension(std::function<void(QMenu&)> extend) { m_extendMenu = std::move(extend); }

private:
    void refreshHeaders();
    void showContextMenu(const QPoint& where);
    EEditResult underWaitCursor(const std::function<EEditResult()>& edit);

    std::unique_ptr<CMapArray> m_map;
    CCellArray& m_view;
    std::unique_ptr<CMapHeaderEdit> m_headerEdit;
    std::function<void(QMenu&)> m_extendMenu;
};

} // namespace torva
