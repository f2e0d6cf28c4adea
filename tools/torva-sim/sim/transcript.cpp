#include "sim/transcript.h"

#include <cstdio>

namespace torva::sim {

void CTranscript::add(TranscriptEntry entry) {
    std::lock_guard lock(m_mutex);
    m_entries.push_back(std::move(entry));
}

std::vector<TranscriptEntry> CTranscript::entries() const {
    std::lock_guard lock(m_mutex);
    return m_entries;
}

std::size_t CTranscript::size() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

void CTranscript::clear() {
    std::lock_guard lock(m_mutex);
    m_entries.clear();
}

std::size_t CTranscript::countRequests(std::uint8_t code, int subCode) const {
    std::lock_guard lock(m_mutex);
    std::size_t count = 0;
    for (const auto& entry : m_entries)
        if (entry.direction == Direction::Request && entry.code == code &&
            (subCode < 0 || entry.subCode() == subCode))
            ++count;
    return count;
}

std::string CTranscript::format(const TranscriptEntry& entry) {
    char head[64];
    std::snprintf(head, sizeof head, "%8lld ms %s code %3u:", static_cast<long long>(entry.timeMs),
                  entry.direction == Direction::Request ? "->" : "<-", entry.code);
    std::string line = head;
    for (const auto byte : entry.payload) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
    }
    if (!entry.note.empty())
        line += "  [" + entry.note + "]";
    return line;
}

} // namespace torva::sim
