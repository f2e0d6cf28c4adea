#include "sim/frame_parser.h"

#include "link/frame_codec.h"

#include <algorithm>

namespace torva::sim {

void CFrameParser::feed(const std::uint8_t* data, std::size_t count) {
    m_pending.insert(m_pending.end(), data, data + count);
}

void CFrameParser::dropFirst(std::size_t count) {
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(
                                                               std::min(count, m_pending.size())));
}

std::optional<SimRequest> CFrameParser::next() {
    while (!m_pending.empty()) {
        const auto start = std::find(m_pending.begin(), m_pending.end(), frame::kStart0);
        dropFirst(static_cast<std::size_t>(start - m_pending.begin()));
        if (m_pending.size() < 3)
            return std::nullopt;
        const std::uint8_t lengthByte = m_pending[2];
        if (m_pending[1] != frame::kStart1 || lengthByte < 2) {
            ++m_rejected;
            dropFirst(1);
            continue;
        }
        const std::size_t total = 6 + std::size_t{lengthByte};
        if (m_pending.size() < total)
            return std::nullopt;

        SimRequest request;
        request.code = m_pending[3];
        request.random = static_cast<std::uint16_t>((m_pending[4] << 8) | m_pending[5]);
        request.payload.assign(m_pending.begin() + 6, m_pending.begin() + 6 + (lengthByte - 2));
        frame::unscramble(request.payload.data(), request.payload.size(), request.random);
        const auto received =
            static_cast<std::uint16_t>((m_pending[total - 2] << 8) | m_pending[total - 1]);
        const std::uint16_t expected =
            frame::checksum(request.random, request.code, lengthByte, request.payload.data(),
                            request.payload.size());
        if (received != expected) {
            ++m_rejected;
            dropFirst(1);
            continue;
        }
        dropFirst(total);
        return request;
    }
    return std::nullopt;
}

} // namespace torva::sim
