// The controller's answers as the link decodes them: the input is everything the controller
// "sends". Its first byte chooses the path: one exchange, the live-sample exchange and its
// decoding, or the whole identification and configuration read with every block decoder.
#include "fuzz_input.h"

#include "diag/diag_sample.h"
#include "link/lpg_device.h"
#include "platform/clock.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

using namespace torva;

// Sleeps take no time: the exchange's pauses would otherwise dominate every run.
class CInstantClock : public IClock {
public:
    std::int64_t nowMs() override { return m_now; }
    void sleepMs(int ms) override { m_now += ms > 0 ? ms : 0; }

private:
    std::int64_t m_now = 0;
};

// Answers every read from the input until it is used up, then with silence.
class CInputLine : public ISerialIo {
public:
    CInputLine(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t read(std::uint8_t* buffer, std::size_t count) override {
        const std::size_t take = std::min(count, m_size - m_offset);
        std::memcpy(buffer, m_data + m_offset, take);
        m_offset += take;
        return take;
    }
    std::size_t write(const std::uint8_t*, std::size_t count) override { return count; }
    // The input is the whole of what the controller says; nothing of it is stale.
    void purgeIn() override {}
    int clearCommError() override { return 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static CInstantClock clock;
    setAppClock(&clock);
    CLPGDevice device(std::make_unique<CInputLine>(data + 1, size - 1));
    device.setRandomSource([] { return std::uint16_t{0x2A57}; });
    std::array<std::uint8_t, CLPGDevice::kExchangeBufferSize> buffer{};
    std::uint8_t code = 2;
    std::uint8_t length = 4;
    switch (data[0] % 3) {
    case 0:
        device.transact(code, buffer.data(), length);
        break;
    case 1:
        buffer[0] = kLiveSampleSubCode;
        code = kLiveSampleRequest;
        length = kLiveSampleRequestLength;
        if (device.transactStrict(code, buffer.data(), length) == CLPGDevice::kStrictOk) {
            DiagSample sample{};
            decodeLiveSample(code, buffer.data(), length >= 2 ? length - 2u : 0u, sample);
        }
        break;
    default:
        device.readConfiguration();
        break;
    }
    return 0;
}
