#include "config/maps/map_array.h"

#include "config/rounding.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr double kRangeTolerance = 1e-9;

// Marks the grid busy for one write; the flag drops however the write ends.
class CBusyScope {
public:
    explicit CBusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~CBusyScope() { m_busy = false; }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    bool& m_busy;
};

std::uint8_t colorChannel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::trunc(value), 0.0, 255.0));
}

template <typename Visit> void forEachCell(Visit visit) {
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            visit(column, row);
    }
}

} // namespace

CMapArray::CMapArray(CLPGDevice& device, int mapNumber)
    : m_valueMax(mapInfo(mapNumber).valueMax), m_valueMin(mapInfo(mapNumber).valueMin),
      m_device(device), m_info(mapInfo(mapNumber)) {
    m_wasConnected = connected();
    fillFromModel();
}

// ---- Cells -------------------------------------------------------------------------------------

void CMapArray::fillFromModel() {
    m_cells = mapValues(m_device.config(), m_info.number);
    notifyChanged();
}

void CMapArray::noteConnection(bool isConnected) {
    if (isConnected && !m_wasConnected)
        fillFromModel();
    m_wasConnected = isConnected;
}

void CMapArray::setCellValue(int column, int row, double value) {
    m_cells[row][column] = value;
}

std::string CMapArray::cellText(int column, int row) const {
    return formatValue(m_cells[row][column]);
}

std::string CMapArray::formatValue(double value) const {
    return formatMapValue(m_info.kind, value);
}

SRgb CMapArray::valueColor(double value) const {
    const double shade = value * m_colorScale;
    if (value >= 0)
        return {255, colorChannel(255 - shade), colorChannel(255 - shade)};
    return {255, 255, colorChannel(255 + shade)};
}

SRgb CMapArray::cellColor(int column, int row) const {
    return isCurrent(column, row) ? kCurrentCellColor : valueColor(m_cells[row][column]);
}

std::pair<int, int> CMapArray::findCell(double rpm, double load) const {
    const CDeviceConfig& config = m_device.config();
    const RpmAxis& rpmAxis = config.m_mapRpmCoordinatesEmu1;
    const LoadAxis& load_axis = loadAxis(config, m_info.channel);
    int column = kMapColumns - 1;
    for (int c = 0; c < kMapColumns; ++c) {
        if (rpm < rpmAxis[c]) {
            column = c;
            break;
        }
    }
    int row = kMapRows - 1;
    for (int r = 0; r < kMapRows; ++r) {
        if (load < load_axis[r]) {
            row = r;
            break;
        }
    }
    return {column, row};
}

void CMapArray::setCurrentCell(double rpm, double load) {
    const auto [column, row] = findCell(rpm, load);
    const std::int64_t now = appClock().nowMs();
    if (column != m_liveCol || row != m_liveRow) {
        // One entry per cell: the latest time the engine left it.
        std::erase_if(m_trail, [this](const auto& left) {
            return left.first.row == m_liveRow && left.first.column == m_liveCol;
        });
        m_trail.push_back({{m_liveRow, m_liveCol, 0}, now});
    }
    std::erase_if(m_trail, [now](const auto& left) { return now - left.second >= kTrailMs; });
    m_liveCol = column;
    m_liveRow = row;
    notifyChanged();
}

std::vector<STrailCell> CMapArray::trail() const {
    const std::int64_t now = appClock().nowMs();
    std::vector<STrailCell> cells;
    for (const auto& [cell, leftAt] : m_trail) {
        const double age = static_cast<double>(now - leftAt) / kTrailMs;
        if (age < 1 && !isCurrent(cell.column, cell.row))
            cells.push_back({cell.row, cell.column, std::max(age, 0.0)});
    }
    return cells;
}

// ---- Selection ---------------------------------------------------------------------------------

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

// ---- Steps -------------------------------------------------------------------------------------

EEditResult CMapArray::incrementSelected(double delta) {
    if (m_busy)
        return EEditResult::Ignored;
    const bool online = connected();
    m_wasConnected = online;
    // Online, a step starts from the record: cells edited while offline, or left behind by a
    // change another grid made, must not be copied into it afterwards.
    if (online)
        m_cells = mapValues(m_device.config(), m_info.number);
    if (!online && m_info.offline == EOfflineStep::Ignored)
        return EEditResult::Ignored;
    try {
        const std::optional<SMapStep> step = mapStepFor(m_selected, m_info.kind, delta);
        if (!step)
            return EEditResult::Ignored;
        bool fits = true;
        forEachCell([&](int column, int row) {
            if (m_selected[row][column] && !inRange(m_cells[row][column] + step->appliedDelta))
                fits = false;
        });
        if (!fits)
            return EEditResult::Refused;

        const CBusyScope busy(m_busy);
        forEachCell([&](int column, int row) {
            if (m_selected[row][column]) {
                const double next = toShown(m_cells[row][column] + step->appliedDelta);
                setCellValue(column, row, std::clamp(next, m_valueMin, m_valueMax));
            }
        });
        notifyChanged();
        if (!online)
            return EEditResult::Done;

        SMapChange change;
        const MapValues before = mapValues(m_device.config(), m_info.number);
        const bool written = sendStep(m_info.number, *step);
        if (written) {
            storeCellsInRecord();
            change.maps.push_back(
                {m_info.number, before, mapValues(m_device.config(), m_info.number)});
        }
        appUi().responsiveWait(kStepWaitMs);
        sendCoupledStep(*step, change);
        m_history.record(std::move(change));
        return written ? EEditResult::Done : EEditResult::Failed;
    } catch (const std::exception& error) {
        showFailure("incrementSelected", error);
        return EEditResult::Failed;
    }
}

void CMapArray::sendCoupledStep(const SMapStep&, SMapChange&) {}

bool CMapArray::sendStep(int mapNumber, const SMapStep& step) {
    const std::array<std::uint8_t, 6> payload = step.payload();
    if (m_device.writeMapPart(mapNumber, payload) && m_device.completeMapChange(mapNumber))
        return true;
    appUi().message(kWriteFailed, kCaption, EIcon::Error);
    return false;
}

// ---- Tools -------------------------------------------------------------------------------------

EEditResult CMapArray::setSelectedTo(double value) {
    return applyTool("setSelectedTo", [value](int, int, const MapValues&) { return value; });
}

EEditResult CMapArray::addToSelected(double delta) {
    return applyTool("addToSelected", [delta](int column, int row, const MapValues& before) {
        return before[row][column] + delta;
    });
}

EEditResult CMapArray::scaleSelected(double percent) {
    return applyTool("scaleSelected", [percent](int column, int row, const MapValues& before) {
        return before[row][column] * percent / 100.0;
    });
}

EEditResult CMapArray::interpolateSelected() {
    const SCellSelection s = getSelection();
    return applyTool("interpolateSelected", [s](int column, int row, const MapValues& before) {
        const double across = s.lastColumn == s.firstColumn
                                  ? 0.0
                                  : double(column - s.firstColumn) / (s.lastColumn - s.firstColumn);
        const double down =
            s.lastRow == s.firstRow ? 0.0 : double(row - s.firstRow) / (s.lastRow - s.firstRow);
        const auto along = [&](int edgeRow) {
            return before[edgeRow][s.firstColumn] * (1 - across) +
                   before[edgeRow][s.lastColumn] * across;
        };
        return along(s.firstRow) * (1 - down) + along(s.lastRow) * down;
    });
}

EEditResult CMapArray::smoothSelected() {
    return applyTool("smoothSelected", [](int column, int row, const MapValues& before) {
        double sum = 0;
        int count = 0;
        for (int r = std::max(row - 1, 0); r <= std::min(row + 1, kMapRows - 1); ++r) {
            for (int c = std::max(column - 1, 0); c <= std::min(column + 1, kMapColumns - 1); ++c) {
                sum += before[r][c];
                ++count;
            }
        }
        return sum / count;
    });
}

std::string CMapArray::copySelection() const {
    const SCellSelection s = getSelection();
    if (!s.any)
        return {};
    std::string text;
    for (int row = s.firstRow; row <= s.lastRow; ++row) {
        for (int column = s.firstColumn; column <= s.lastColumn; ++column) {
            text += cellText(column, row);
            text += column == s.lastColumn ? '\n' : '\t';
        }
    }
    return text;
}

EEditResult CMapArray::paste(const std::string& text) {
    const SCellSelection s = getSelection();
    if (m_busy || !s.any || !connected())
        return EEditResult::Ignored;
    std::vector<std::vector<double>> block;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<double> values;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) {
            const std::optional<double> value = parseTypedNumber(field);
            if (!value)
                return EEditResult::Refused;
            values.push_back(*value);
        }
        if (!line.empty() && line.back() == '\t')
            return EEditResult::Refused; // an empty last field
        block.push_back(std::move(values));
    }
    while (!block.empty() && block.back().empty())
        block.pop_back();
    if (block.empty() || s.firstRow + int(block.size()) > kMapRows)
        return EEditResult::Refused;
    for (const std::vector<double>& values : block) {
        if (values.size() != block.front().size() ||
            s.firstColumn + int(values.size()) > kMapColumns)
            return EEditResult::Refused;
    }
    MapValues image = mapValues(m_device.config(), m_info.number);
    for (std::size_t r = 0; r < block.size(); ++r) {
        for (std::size_t c = 0; c < block[r].size(); ++c)
            image[s.firstRow + r][s.firstColumn + c] = toShown(block[r][c]);
    }
    const EEditResult result = writeImage("paste", image);
    if (result == EEditResult::Done) {
        m_selected = {};
        selectRect(s.firstColumn, s.firstRow, s.firstColumn + int(block.front().size()) - 1,
                   s.firstRow + int(block.size()) - 1);
    }
    return result;
}

EEditResult CMapArray::applyTool(const char* toolName, const CellRule& rule) {
    if (m_busy || !getSelection().any || !connected())
        return EEditResult::Ignored;
    const MapValues& before = mapValues(m_device.config(), m_info.number);
    MapValues image = before;
    forEachCell([&](int column, int row) {
        if (m_selected[row][column])
            image[row][column] = toShown(rule(column, row, before));
    });
    return writeImage(toolName, image);
}

EEditResult CMapArray::writeImage(const char* toolName, const MapValues& image) {
    bool fits = true;
    forEachCell([&](int column, int row) { fits = fits && inRange(image[row][column]); });
    if (!fits)
        return EEditResult::Refused;
    try {
        const CBusyScope busy(m_busy);
        const MapValues before = mapValues(m_device.config(), m_info.number);
        if (!writeWholeMap(m_info.number, image))
            return EEditResult::Failed;
        m_history.record({{{m_info.number, before, image}}});
    } catch (const std::exception& error) {
        showFailure(toolName, error);
        return EEditResult::Failed;
    }
    fillFromModel();
    notifyRecordChanged();
    return EEditResult::Done;
}

// ---- Undo --------------------------------------------------------------------------------------

EEditResult CMapArray::undo() {
    return restore(true);
}
EEditResult CMapArray::redo() {
    return restore(false);
}

EEditResult CMapArray::restore(bool undoing) {
    if (m_busy || !connected() || !(undoing ? canUndo() : canRedo()))
        return EEditResult::Ignored;
    try {
        const CBusyScope busy(m_busy);
        const SMapChange& change = undoing ? m_history.nextUndo() : m_history.nextRedo();
        for (const SMapImage& map : change.maps) {
            if (!writeWholeMap(map.mapNumber, undoing ? map.before : map.after))
                return EEditResult::Failed;
        }
        undoing ? m_history.undone() : m_history.redone();
    } catch (const std::exception& error) {
        showFailure(undoing ? "undo" : "redo", error);
        return EEditResult::Failed;
    }
    fillFromModel();
    notifyRecordChanged();
    return EEditResult::Done;
}

// ---- Helpers -----------------------------------------------------------------------------------

bool CMapArray::connected() const {
    return m_device.isConnected();
}

bool CMapArray::inRange(double value) const {
    return value >= m_valueMin - kRangeTolerance && value <= m_valueMax + kRangeTolerance;
}

double CMapArray::toShown(double value) const {
    const double units = unitsPerValue(m_info.kind);
    return round0(value * units) / units;
}

void CMapArray::notifyChanged() {
    if (m_changed)
        m_changed();
}

void CMapArray::notifyRecordChanged() {
    if (m_recordChanged)
        m_recordChanged();
}

void CMapArray::showFailure(const char* operation, const std::exception& error) const {
    const auto* described = dynamic_cast<const IError*>(&error);
    const std::string detail = described ? described->formattedText() : error.what();
    appUi().message(std::string(m_info.className) + "::" + operation + "()\n" + detail, kCaption,
                    EIcon::None);
}

} // namespace torva
