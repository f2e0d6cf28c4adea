#include "config/maps/map_undo.h"

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

} // namespace torva
