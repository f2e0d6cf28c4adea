#include "config/maps/map_undo.h"

#include "config/maps/map_catalogue.h"

namespace torva {

void CMapHistory::record(SMapChange change) {
    if (change.empty())
        return;
    m_undo.push_back(std::move(change));
    if (m_undo.size() > kDepth)
        m_undo.pop_front();
    m_redo.clear();
}

void CMapHistory::undone() {
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
}

void CMapHistory::redone() {
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
}

void CMapHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}

bool recordHoldsExpected(const CDeviceConfig& record, const SMapChange& change, bool undoing) {
    for (const SMapImage& map : change.maps) {
        const EMapKind kind = mapInfo(map.mapNumber).kind;
        const MapValues& expected = undoing ? map.after : map.before;
        const MapValues& held = mapValues(record, map.mapNumber);
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                if (toWireResolution(kind, held[row][column]) !=
                    toWireResolution(kind, expected[row][column]))
                    return false;
            }
        }
    }
    return true;
}

} // namespace torva
