// The map tools and undo: each computes a whole new map image from the record, checks every cell
// against the range and writes the map as one block.
#include "maps/map_array.h"

#include "maps/map_array_internal.h"

#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <sstream>

namespace torva {

using map_internal::CBusyScope;
using map_internal::forEachCell;

namespace {

constexpr const char* kCaption = "TORVA";
constexpr const char* kStaleChange = PL("Mapa w sterowniku nie jest już tą, której dotyczy ta "
                                        "zmiana. Nic nie zostało wpisane.");

} // namespace

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
    SelectionMarks pasted{};
    for (std::size_t r = 0; r < block.size(); ++r) {
        for (std::size_t c = 0; c < block[r].size(); ++c)
            pasted[s.firstRow + r][s.firstColumn + c] = true;
    }
    const EEditResult result = writeImages(
        "paste", imagesOf(pasted, [&](int column, int row, const MapValues&) {
            return block[std::size_t(row - s.firstRow)][std::size_t(column - s.firstColumn)];
        }));
    if (result == EEditResult::Done) {
        m_selected = {};
        selectRect(s.firstColumn, s.firstRow, s.firstColumn + int(block.front().size()) - 1,
                   s.firstRow + int(block.size()) - 1);
    }
    return result;
}

std::vector<SMapImage> CMapArray::imagesOf(const SelectionMarks& cells,
                                           const CellRule& rule) const {
    std::vector<SMapImage> images;
    for (const int number : {m_info.number, coupledMap()}) {
        if (number == 0)
            continue;
        SMapImage map{number, mapValues(m_device.config(), number), {}};
        map.after = map.before;
        forEachCell([&](int column, int row) {
            if (cells[row][column])
                map.after[row][column] = toShown(rule(column, row, map.before));
        });
        images.push_back(map);
    }
    return images;
}

EEditResult CMapArray::applyTool(const char* toolName, const CellRule& rule) {
    if (m_busy || !getSelection().any || !connected())
        return EEditResult::Ignored;
    return writeImages(toolName, imagesOf(m_selected, rule));
}

EEditResult CMapArray::writeImages(const char* toolName, const std::vector<SMapImage>& images) {
    for (const SMapImage& map : images) {
        // The page may narrow this grid's range; a coupled map keeps its own.
        const bool own = map.mapNumber == m_info.number;
        const double low = own ? m_valueMin : mapInfo(map.mapNumber).valueMin;
        const double high = own ? m_valueMax : mapInfo(map.mapNumber).valueMax;
        bool fits = true;
        forEachCell([&](int column, int row) {
            fits = fits && valueWithin(map.after[row][column], low, high);
        });
        if (!fits)
            return EEditResult::Refused;
    }
    SMapChange change;
    EEditResult result = EEditResult::Done;
    try {
        const CBusyScope busy(m_busy);
        for (const SMapImage& map : images) {
            if (!writeWholeMap(map.mapNumber, map.after)) {
                result = EEditResult::Failed;
                break;
            }
            change.maps.push_back(map);
        }
    } catch (const std::exception& error) {
        showFailure(toolName, error);
        result = EEditResult::Failed;
    }
    // What reached the controller can be undone, also when the coupled map's write failed.
    const bool changed = !change.empty();
    m_history.record(std::move(change));
    fillFromModel();
    if (changed)
        notifyRecordChanged();
    return result;
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
        if (!recordHoldsExpected(m_device.config(), change, undoing)) {
            appUi().message(kStaleChange, kCaption, EIcon::Warning);
            return EEditResult::Refused;
        }
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

} // namespace torva
