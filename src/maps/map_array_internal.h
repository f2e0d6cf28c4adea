#pragma once

#include "config/device_config.h"

// Helpers the CMapArray sources share.
namespace torva::map_internal {

// Marks a grid busy for one write; the flag drops however the write ends.
class CBusyScope {
public:
    explicit CBusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~CBusyScope() { m_busy = false; }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    bool& m_busy;
};

template <typename Visit> void forEachCell(Visit visit) {
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            visit(column, row);
    }
}

} // namespace torva::map_internal
