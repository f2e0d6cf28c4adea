#include "link/diag_data.h"

#include <algorithm>

namespace torva {

void CDiagData::push(const DiagSample& sample) {
    CMSGMutex::Guard lock(m_mutex);
    if (m_samples.size() > kMaxCount)
        m_samples.erase(m_samples.begin(), m_samples.begin() + kTrimCount);
    m_samples.push_back(sample);
}

void CDiagData::latest(DiagSample& out) const {
    // One lock for the test and the copy: a clear in between must not leave nothing to copy.
    CMSGMutex::Guard lock(m_mutex);
    if (!m_samples.empty())
        out = m_samples.back();
}

void CDiagData::copyRange(std::size_t end, std::size_t begin, std::vector<DiagSample>& out) const {
    CMSGMutex::Guard lock(m_mutex);
    const std::size_t stop = std::min(end, m_samples.size());
    if (m_samples.size() < begin || begin >= stop)
        return;
    out.insert(out.end(), m_samples.begin() + static_cast<std::ptrdiff_t>(begin),
               m_samples.begin() + static_cast<std::ptrdiff_t>(stop));
}

std::size_t CDiagData::count() const {
    CMSGMutex::Guard lock(m_mutex);
    return m_samples.size();
}

void CDiagData::clear() {
    CMSGMutex::Guard lock(m_mutex);
    m_samples.clear();
}

} // namespace torva
