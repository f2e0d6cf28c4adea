#include "support/scripted_serial.h"

#include "link/rs_error.h"

#include <algorithm>

namespace torva::test {

void CScriptedSerial::addPending(const std::vector<std::uint8_t>& bytes) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
}

void CScriptedSerial::addReply(std::vector<std::uint8_t> bytes) {
    m_replies.push_back(std::move(bytes));
}

std::size_t CScriptedSerial::read(std::uint8_t* buffer, std::size_t count) {
    m_calls.push_back({ECall::Read, count});
    if (++m_reads == m_failRead)
        throw CRSError(CRSError::kOperationFailed, "CScriptedSerial::read() - scripted failure",
                       __LINE__);
    std::size_t got = 0;
    while (got < count && !m_pending.empty()) {
        buffer[got++] = m_pending.front();
        m_pending.pop_front();
    }
    if (got == count || m_replies.empty())
        return got;
    const std::vector<std::uint8_t>& burst = m_replies.front();
    const std::size_t take = std::min(count - got, burst.size() - m_replyPos);
    std::copy_n(burst.begin() + static_cast<std::ptrdiff_t>(m_replyPos), take, buffer + got);
    got += take;
    m_replyPos += take;
    // The burst is over: either the read ended with it, or it waited out the quiet line.
    if (m_replyPos == burst.size()) {
        m_replies.pop_front();
        m_replyPos = 0;
    }
    return got;
}

std::size_t CScriptedSerial::write(const std::uint8_t* buffer, std::size_t count) {
    m_calls.push_back({ECall::Write, count});
    if (++m_writes == m_failWrite)
        throw CRSError(CRSError::kOperationFailed, "CScriptedSerial::write() - scripted failure",
                       __LINE__);
    m_written.insert(m_written.end(), buffer, buffer + count);
    return count;
}

void CScriptedSerial::purgeIn() {
    m_calls.push_back({ECall::Purge, 0});
    m_pending.clear();
}

std::vector<CScriptedSerial::SCall> CScriptedSerial::callsOf(ECall kind) const {
    std::vector<SCall> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [kind](const SCall& call) { return call.kind == kind; });
    return found;
}

void CScriptedSerial::clearRecord() {
    m_written.clear();
    m_calls.clear();
}

} // namespace torva::test
