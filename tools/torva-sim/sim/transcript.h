#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace torva::sim {

enum class Direction { Request, Answer };

struct TranscriptEntry {
    std::int64_t timeMs = 0; // since the simulator started
    Direction direction = Direction::Request;
    std::uint8_t code = 0;
    std::vector<std::uint8_t> payload; // plain, as built or as unscrambled
    // What happened to an answer on the way out: "", "dropped", or the faults applied, such as
    // "wrong code 3", "corrupt checksum", "noise 2", "split".
    std::string note;

    std::uint8_t subCode() const { return payload.empty() ? 0 : payload[0]; }
};

// Every request received and every answer produced, in order; safe to read from any thread.
class CTranscript {
public:
    void add(TranscriptEntry entry);
    std::vector<TranscriptEntry> entries() const;
    std::size_t size() const;
    void clear();
    // Requests with this code (and sub-code, for code 2 when given) seen so far.
    std::size_t countRequests(std::uint8_t code, int subCode = -1) const;
    // One line per entry: time, direction, code, payload in hex and the note.
    static std::string format(const TranscriptEntry& entry);

private:
    mutable std::mutex m_mutex;
    std::vector<TranscriptEntry> m_entries;
};

} // namespace torva::sim
