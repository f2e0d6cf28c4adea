#include "link/lpg_device.h"

#include "platform/clock.h"

#include <algorithm>
#include <cstring>

namespace torva {

namespace {

// After a missing or unreadable header: let the line fall quiet before the caller's next try.
constexpr int kQuietLineMs = 131;
// Before the second read of a short payload: let a slow controller finish it.
constexpr int kSlowPayloadMs = 50;
// The length byte counts the payload and the two checksum bytes.
constexpr std::uint8_t kChecksumSize = 2;

struct SResponseHead {
    std::uint8_t length; // L: payload + checksum
    std::uint8_t code;
    std::uint16_t random; // R'
};

enum class EHead { Ok, Missing, NoRandom };

std::uint8_t highByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word >> 8);
}
std::uint8_t lowByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word & 0xFF);
}

// Header, R big-endian, the scrambled payload, then — with nothing stale left to mistake for
// the answer — the checksum.
void sendRequest(ISerialIo& io, std::uint16_t random, std::uint8_t command, std::uint8_t* payload,
                 std::uint8_t length, bool purgeFirst) {
    const auto lengthByte = static_cast<std::uint8_t>(length + kChecksumSize);
    const std::uint16_t sum = frame::checksum(random, command, lengthByte, payload, length);
    frame::scramble(payload, length, random);

    if (purgeFirst)
        io.purgeIn();
    const std::uint8_t header[frame::kHeaderSize] = {frame::kStart0, frame::kStart1, lengthByte,
                                                     command};
    const std::uint8_t randomBytes[2] = {highByte(random), lowByte(random)};
    const std::uint8_t sumBytes[2] = {highByte(sum), lowByte(sum)};
    io.write(header, sizeof header);
    io.write(randomBytes, sizeof randomBytes);
    io.write(payload, length);
    io.purgeIn();
    io.write(sumBytes, sizeof sumBytes);
}

// Reads the four header bytes and R'. When the first two are not AA 55, the header restarts at
// the first AA and the bytes it lacks are read; that header is then taken as it stands.
EHead readResponseHead(ISerialIo& io, SResponseHead& head) {
    std::uint8_t bytes[frame::kHeaderSize];
    if (io.read(bytes, sizeof bytes) < sizeof bytes)
        return EHead::Missing;
    if (bytes[0] != frame::kStart0 || bytes[1] != frame::kStart1) {
        const std::uint8_t* start = std::find(bytes, bytes + sizeof bytes, frame::kStart0);
        const auto skipped = static_cast<std::size_t>(start - bytes);
        if (skipped == sizeof bytes)
            return EHead::Missing;
        std::memmove(bytes, start, sizeof bytes - skipped);
        if (skipped > 0 && io.read(bytes + sizeof bytes - skipped, skipped) < skipped)
            return EHead::Missing;
    }
    std::uint8_t random[2];
    if (io.read(random, sizeof random) < sizeof random)
        return EHead::NoRandom;
    head = {bytes[2], bytes[3], static_cast<std::uint16_t>(random[0] << 8 | random[1])};
    return EHead::Ok;
}

// Unscrambles the received bytes before the checksum and compares the checksum they end with
// against the one computed over the payload length the header announced.
bool payloadChecks(const SResponseHead& head, std::uint8_t* buffer, std::size_t received,
                   bool plusOne) {
    frame::unscramble(buffer, received - kChecksumSize, head.random);
    const auto got = static_cast<std::uint16_t>(buffer[received - 2] << 8 | buffer[received - 1]);
    const std::uint16_t expected = frame::checksum(head.random, head.code, head.length, buffer,
                                                   head.length - kChecksumSize, plusOne);
    return got == expected;
}

} // namespace

bool CLPGDevice::transact(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length) {
    // Offline nothing answers: whatever needs a live controller fails at once.
    if (isOffline())
        return false;
    const std::uint16_t random = m_random();
    CMSGMutex::Guard exchange(m_exchangeMutex);
    sendRequest(*m_io, random, command, buffer, length, false);

    SResponseHead head{};
    switch (readResponseHead(*m_io, head)) {
    case EHead::Missing:
        appClock().sleepMs(kQuietLineMs);
        return false;
    case EHead::NoRandom:
        return false;
    case EHead::Ok:
        break;
    }
    // A length below 2 leaves no room for the checksum.
    if (head.length < kChecksumSize)
        return false;
    std::memset(buffer, 0, kExchangeBufferSize);
    std::size_t received = m_io->read(buffer, head.length);
    if (received < head.length) {
        appClock().sleepMs(kSlowPayloadMs);
        received += m_io->read(buffer + received, head.length - received);
    }
    if (received < kChecksumSize || !payloadChecks(head, buffer, received, true))
        return false;
    command = head.code;
    length = static_cast<std::uint8_t>(head.length - kChecksumSize);
    return true;
}

int CLPGDevice::transactStrict(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length) {
    if (isOffline())
        return kStrictFailed;
    const std::uint16_t random = m_random();
    CMSGMutex::Guard exchange(m_exchangeMutex);
    sendRequest(*m_io, random, command, buffer, length, true);

    SResponseHead head{};
    if (readResponseHead(*m_io, head) != EHead::Ok || head.length < kChecksumSize)
        return kStrictFailed;
    std::memset(buffer, 0, kExchangeBufferSize);
    if (m_io->read(buffer, head.length) < head.length ||
        !payloadChecks(head, buffer, head.length, false))
        return kStrictFailed;
    command = head.code;
    length = head.length;
    return kStrictOk;
}

} // namespace torva
