#pragma once

#include "config/maps/map_step.h"
#include "config/maps/map_undo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace torva {

class CLPGDevice;

enum class EArrowKey { Left, Up, Right, Down, Other };

// What an edit of the grid came to.
enum class EEditResult {
    Done,    // changed (and written, when connected)
    Ignored, // nothing to do: no selection, no controller for a map that needs one, or busy
    Refused, // a value would leave the range, or the input is no fitting number block
    Failed,  // the controller did not take the write (the user was told)
};

struct SRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const SRgb&) const = default;
};

// A cell the live operating point left recently; age runs from 0 (just left) to 1 (forgotten).
struct STrailCell {
    int row = 0;
    int column = 0;
    double age = 0;
};

// Stores a whole map image in the live record and writes the map's block in one write; the
// record is put back when the controller does not take it (false) or the link fails (thrown).
bool writeMapImage(CLPGDevice& device, int mapNumber, const MapValues& image);

// One map of the record as a 16 x 15 grid of cells: what each cell shows, the selection, the
// live cell, the steps and tools that change the map and how they reach the controller. The
// window that draws it (CCellArray) only binds it, so every rule here runs without a window.
class CMapArray {
public:
    CMapArray(CLPGDevice& device, int mapNumber);
    virtual ~CMapArray() = default;
    CMapArray(const CMapArray&) = delete;
    CMapArray& operator=(const CMapArray&) = delete;

    double m_valueMax;
    double m_valueMin;
    int m_anchorCol = -1; // negative: no anchor
    int m_anchorRow = -1;
    int m_liveCol = 0;
    int m_liveRow = 0;
    double m_colorScale = 5.0;

    static constexpr SRgb kCurrentCellColor{120, 0, 0};
    static constexpr int kStepWaitMs = 133;
    static constexpr int kTrailMs = 3000;

    const SMapInfo& info() const { return m_info; }
    CLPGDevice& device() { return m_device; }
    const CLPGDevice& device() const { return m_device; }

    // ---- The grid's operations ----------------------------------------------------------------
    virtual void setCurrentCell(double rpm, double load);
    virtual EEditResult incrementSelected(double delta);
    // (column, row) of the first axis points above rpm and load; the last ones when none is.
    virtual std::pair<int, int> findCell(double rpm, double load) const;
    virtual std::string formatValue(double value) const;

    // ---- Cells --------------------------------------------------------------------------------
    void fillFromModel();
    // Called on every refresh: when the connection comes up, the cells edited while offline
    // are replaced by the record's values, so those edits can never reach the record.
    void noteConnection(bool connected);
    void setCellValue(int column, int row, double value);
    double cellValue(int column, int row) const { return m_cells[row][column]; }
    std::string cellText(int column, int row) const;
    // The cell's background: the live cell's colour, otherwise its value's colour.
    SRgb cellColor(int column, int row) const;
    // White at 0, deepening red above and yellow below; channels clamped to 0-255.
    SRgb valueColor(double value) const;
    // No cell is current before the first live point.
    bool isCurrent(int column, int row) const {
        return m_hasLive && column == m_liveCol && row == m_liveRow;
    }
    std::vector<STrailCell> trail() const;
    // No live point any more (the link is down): the current cell and the trail go.
    void clearLive();

    // ---- Selection ----------------------------------------------------------------------------
    bool isSelected(int column, int row) const { return m_selected[row][column]; }
    const SelectionMarks& selectionMarks() const { return m_selected; }
    SCellSelection getSelection() const;
    void moveSelection(EArrowKey key);
    void extendSelection(EArrowKey key);
    void selectRect(int firstColumn, int firstRow, int lastColumn, int lastRow);
    void clearSelection();
    // Mouse: a press selects the cell and anchors there; a drag selects anchor to cell.
    void pressCell(int column, int row);
    void dragToCell(int column, int row);

    // ---- Map tools: each writes the whole map as one block after checking every cell ---------
    EEditResult setSelectedTo(double value);
    EEditResult addToSelected(double delta);
    EEditResult scaleSelected(double percent);
    // Bilinear between the selection's corner cells.
    EEditResult interpolateSelected();
    // Each selected cell becomes the mean of itself and its neighbours within the map.
    EEditResult smoothSelected();
    // The selected rectangle as tab-separated lines.
    std::string copySelection() const;
    // Tab-separated lines placed from the first selected cell; "," counts as a decimal point.
    EEditResult paste(const std::string& text);

    // Write the image before (undo) or after (redo) the latest change back as a whole map,
    // refused with a message when the record no longer holds what the change expects.
    EEditResult undo();
    EEditResult redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // After the map was replaced as a whole ("Kasuj").
    void clearHistory() { m_history.clear(); }

    // True while a write is in flight: the grid takes no further edits then.
    bool busy() const { return m_busy; }

    // Heard after the cells, the selection or the live cell changed (the window repaints).
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }
    // Heard after a whole-map write changed the record (the page refills every grid it shows).
    void setRecordListener(std::function<void()> listener) {
        m_recordChanged = std::move(listener);
    }

protected:
    // The map that takes every step and tool of this one as well (the coupled TPS channels), or
    // 0 for none.
    virtual int coupledMap() const { return 0; }

    // ---- Changes of the live record: the only places that touch it ---------------------------
    // The step the controller applied, applied to the record's copy of the map: only the cells
    // it stepped change.
    void storeStepInRecord(int mapNumber, const SMapStep& step);
    // Stores the image and writes the map's block; the record is put back when the write fails.
    bool writeWholeMap(int mapNumber, const MapValues& image);

    // Sends the partial write and its completion; false (after telling the user) on refusal.
    bool sendStep(int mapNumber, const SMapStep& step);
    bool connected() const;
    void notifyChanged();
    void notifyRecordChanged();

private:
    using CellRule = std::function<double(int column, int row, const MapValues& before)>;
    EEditResult applyTool(const char* toolName, const CellRule& rule);
    // Writes the new images of this map and of its coupled map, each as one block, after
    // checking every cell of both against their ranges; one undo step restores them together.
    EEditResult writeImages(const char* toolName, const std::vector<SMapImage>& images);
    // The images a cell rule gives the marked cells of this map and of its coupled map, each
    // from its own values.
    std::vector<SMapImage> imagesOf(const SelectionMarks& cells, const CellRule& rule) const;
    void sendCoupledStep(const SMapStep& step, SMapChange& change);
    EEditResult restore(bool undoing);
    bool inRange(double value) const { return valueWithin(value, m_valueMin, m_valueMax); }
    static bool valueWithin(double value, double low, double high);
    double toShown(double value) const;
    void showFailure(const char* operation, const std::exception& error) const;

    CLPGDevice& m_device;
    const SMapInfo& m_info;
    MapValues m_cells{};
    SelectionMarks m_selected{};
    bool m_wasConnected = false;
    bool m_hasLive = false;
    bool m_busy = false;
    CMapHistory m_history;
    std::vector<std::pair<STrailCell, std::int64_t>> m_trail; // cell and when it was left
    std::function<void()> m_changed;
    std::function<void()> m_recordChanged;
};

} // namespace torva
