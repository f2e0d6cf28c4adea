#pragma once

#include "config/device_config.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace torva {

// One change made from a grid: the images of every map it touched, before and after (a
// coupled step touches two maps).
struct SMapImage {
    int mapNumber = 0;
    MapValues before{};
    MapValues after{};
};
struct SMapChange {
    std::vector<SMapImage> maps;
    bool empty() const { return maps.empty(); }
};

// Undo and redo stacks of grid changes. A new change forgets what could be redone.
class CMapHistory {
public:
    static constexpr std::size_t kDepth = 64;

    void record(SMapChange change);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    const SMapChange& nextUndo() const { return m_undo.back(); }
    const SMapChange& nextRedo() const { return m_redo.back(); }
    // After the images were written back.
    void undone();
    void redone();
    // Forgets every change: the maps were replaced as a whole (cleared, loaded, read from
    // another controller), so no image here fits them any more.
    void clear();

private:
    std::deque<SMapChange> m_undo;
    std::deque<SMapChange> m_redo;
};

// True when the record still holds, in every map the change touched, the image the change left
// (undoing) or started from (redoing), as the controller stores the values. Anything else means
// the map changed behind the history's back, and writing the other image would be a guess.
bool recordHoldsExpected(const CDeviceConfig& record, const SMapChange& change, bool undoing);

} // namespace torva
