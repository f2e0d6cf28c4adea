#include "support/responding_serial.h"

#include "link/frame_codec.h"

#include <algorithm>

namespace torva::test {

namespace {
constexpr std::uint16_t kAnswerRandom = 0x0101;
constexpr std::size_t kFrameOverhead = 6; // AA 55 length code R R; the length counts the sum
} // namespace

std::size_t CRespondingSerial::read(std::uint8_t* buffer, std::size_t count) {
    const std::size_t take = std::min(count, m_answer.size());
    std::copy_n(m_answer.begin(), take, buffer);
    m_answer.erase(m_answer.begin(), m_answer.begin() + static_cast<std::ptrdiff_t>(take));
    return take;
}

std::size_t CRespondingSerial::write(const std::uint8_t* buffer, std::size_t count) {
    m_incoming.insert(m_incoming.end(), buffer, buffer + count);
    m_bytesWritten += count;
    takeFrames();
    return count;
}

void CRespondingSerial::takeFrames() {
    while (m_incoming.size() >= kFrameOverhead) {
        const std::size_t total = kFrameOverhead + m_incoming[2];
        if (m_incoming.size() < total)
            return;
        SSeenRequest request;
        request.code = m_incoming[3];
        const auto random = static_cast<std::uint16_t>(m_incoming[4] << 8 | m_incoming[5]);
        request.payload.assign(m_incoming.begin() + kFrameOverhead,
                               m_incoming.begin() + static_cast<std::ptrdiff_t>(total - 2));
        frame::unscramble(request.payload.data(), request.payload.size(), random);
        const auto sum =
            static_cast<std::uint16_t>(m_incoming[total - 2] << 8 | m_incoming[total - 1]);
        request.checksumOk = sum == frame::checksum(random, request.code, m_incoming[2],
                                                    request.payload.data(), request.payload.size());
        m_incoming.erase(m_incoming.begin(),
                         m_incoming.begin() + static_cast<std::ptrdiff_t>(total));
        m_requests.push_back(request);
        if (const auto reply = m_responder(request))
            m_answer.insert(m_answer.end(), reply->begin(), reply->end());
    }
}

CRespondingSerial::Bytes CRespondingSerial::answer(std::uint8_t code, const Bytes& payload) {
    return frame::encode(code, kAnswerRandom, payload.data(), payload.size());
}

CRespondingSerial::Bytes CRespondingSerial::strictAnswer(std::uint8_t code, const Bytes& payload) {
    return frame::encode(code, kAnswerRandom, payload.data(), payload.size(), false);
}

CRespondingSerial::Bytes CRespondingSerial::ack(std::uint8_t status) {
    return answer(0x02, {status});
}

} // namespace torva::test
