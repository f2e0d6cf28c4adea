#pragma once

#include "link/serial_io.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace torva::test {

// A request frame as the controller would see it: checked and unscrambled.
struct SSeenRequest {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> payload;
    bool checksumOk = false;

    // Byte 0 of a query or action payload.
    std::uint8_t subCode() const { return payload.empty() ? 0 : payload[0]; }
    // Bytes 2-3 of a query or action payload.
    std::uint16_t argument() const {
        return payload.size() < 4 ? 0 : static_cast<std::uint16_t>(payload[2] | payload[3] << 8);
    }
};

// A serial channel with a controller behind it that a test writes as a function: each complete
// request frame is taken apart and handed to the responder, whose answer bytes (if any) are then
// there to be read. Reads asking for more than is there return short, as after a time-out.
class CRespondingSerial : public ISerialIo {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Responder = std::function<std::optional<Bytes>(const SSeenRequest&)>;

    explicit CRespondingSerial(Responder responder) : m_responder(std::move(responder)) {}

    std::size_t read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t write(const std::uint8_t* buffer, std::size_t count) override;
    void purgeIn() override { m_answer.clear(); }
    int clearCommError() override { return 0; }

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    const std::vector<SSeenRequest>& requests() const { return m_requests; }
    std::size_t bytesWritten() const { return m_bytesWritten; }
    void clearRequests() { m_requests.clear(); }

    // Answer frames with random word 0x0101: the usual checksum, or the live-sample answer's
    // checksum without the constant 1.
    static Bytes answer(std::uint8_t code, const Bytes& payload);
    static Bytes strictAnswer(std::uint8_t code, const Bytes& payload);
    // The acknowledgement (code 2) with the given status byte.
    static Bytes ack(std::uint8_t status = 4);

private:
    void takeFrames();

    Responder m_responder;
    Bytes m_incoming;
    std::deque<std::uint8_t> m_answer;
    std::vector<SSeenRequest> m_requests;
    std::size_t m_bytesWritten = 0;
};

} // namespace torva::test
