#pragma once

#include "sim/sim_frame.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace torva::sim {

// Finds request frames in the byte stream from the PC. Bytes before a frame start and frames with
// a bad length or checksum are dropped silently, as the controller does; the search then resumes
// one byte after the rejected start so a real frame hidden behind noise is still found.
class CFrameParser {
public:
    void feed(const std::uint8_t* data, std::size_t count);
    // The next complete, valid request, if the bytes fed so far hold one.
    std::optional<SimRequest> next();
    // Forgets an incomplete frame; called after a quiet spell so that a corrupted length byte
    // cannot swallow the requests that follow.
    void discardPartial() { m_pending.clear(); }
    bool hasPartial() const { return !m_pending.empty(); }
    std::size_t rejectedFrames() const { return m_rejected; }

private:
    void dropFirst(std::size_t count);

    std::vector<std::uint8_t> m_pending;
    std::size_t m_rejected = 0;
};

} // namespace torva::sim
