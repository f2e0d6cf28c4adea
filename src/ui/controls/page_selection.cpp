#include "ui/controls/page_selection.h"

namespace torva {

SPageSwitch CPageSelection::insert() {
    ++m_count;
    if (m_active >= 0) {
        return {};
    }
    m_active = m_count - 1;
    return {-1, m_active};
}

SPageSwitch CPageSelection::activate(int index) {
    if (index < 0 || index >= m_count || index == m_active) {
        return {};
    }
    const SPageSwitch change{m_active, index};
    m_active = index;
    return change;
}

SPageSwitch CPageSelection::remove(int index) {
    if (index < 0 || index >= m_count) {
        return {};
    }
    --m_count;
    if (index < m_active) {
        --m_active;
        return {};
    }
    if (index > m_active) {
        return {};
    }
    m_active = m_count == 0 ? -1 : (index < m_count ? index : m_count - 1);
    return {index, m_active};
}

int CPageSelection::neighbour(int step) const {
    if (m_count == 0) {
        return -1;
    }
    const int from = m_active < 0 ? 0 : m_active;
    return ((from + step) % m_count + m_count) % m_count;
}

} // namespace torva
