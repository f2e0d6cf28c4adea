#pragma once

#include "link/serial_io.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace torva::test {

// A serial channel that plays a script. Bytes "pending" are already in the receive buffer and
// purgeIn drops them; each reply is one burst that arrives after the request. A read takes
// pending bytes first, then bytes of the current burst; a read that needs more than the burst
// holds returns short, as a real read does when the line stays quiet until its time-out.
// Everything written and every call is recorded; the Nth read or write can be made to fail.
class CScriptedSerial : public ISerialIo {
public:
    enum class ECall { Read, Write, Purge };
    struct SCall {
        ECall kind;
        std::size_t count; // bytes asked for (read) or given (write); 0 for a purge
        bool operator==(const SCall&) const = default;
    };

    void addPending(const std::vector<std::uint8_t>& bytes);
    void addReply(std::vector<std::uint8_t> bytes);
    // Makes the Nth read or write call (counting from 1) raise a CRSError with code 6.
    void failRead(int callNumber) { m_failRead = callNumber; }
    void failWrite(int callNumber) { m_failWrite = callNumber; }
    void setCommError(int value) { m_commError = value; }

    std::size_t read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t write(const std::uint8_t* buffer, std::size_t count) override;
    void purgeIn() override;
    int clearCommError() override { return m_commError; }

    const std::vector<std::uint8_t>& written() const { return m_written; }
    const std::vector<SCall>& calls() const { return m_calls; }
    // The calls of one kind, in order.
    std::vector<SCall> callsOf(ECall kind) const;
    void clearRecord();

private:
    std::deque<std::uint8_t> m_pending;
    std::deque<std::vector<std::uint8_t>> m_replies;
    std::size_t m_replyPos = 0;
    std::vector<std::uint8_t> m_written;
    std::vector<SCall> m_calls;
    int m_reads = 0;
    int m_writes = 0;
    int m_failRead = 0;
    int m_failWrite = 0;
    int m_commError = 0;
};

} // namespace torva::test
