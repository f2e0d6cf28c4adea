#include "link/lpg_device.h"

#include "link/demo_sample.h"
#include "link/diag_sample.h"

#include <array>

namespace torva {

CLPGDevice::ELiveRead CLPGDevice::exchangeLiveSample(DiagSample& sample) {
    std::array<std::uint8_t, kExchangeBufferSize> buffer{};
    buffer[0] = kLiveSampleSubCode;
    std::uint8_t code = kLiveSampleRequest;
    std::uint8_t length = kLiveSampleRequestLength;
    if (transactStrict(code, buffer.data(), length) != kStrictOk)
        return ELiveRead::Failed;
    // The strict exchange reports the length byte itself: payload plus two checksum bytes.
    const std::size_t payloadLength = length >= 2 ? length - 2u : 0u;
    if (!decodeLiveSample(code, buffer.data(), payloadLength, sample))
        return ELiveRead::WrongCode;
    return ELiveRead::Ok;
}

bool CLPGDevice::readLiveSample(DiagSample& sample) {
    if (isDemo()) {
        const std::int32_t seq = sample.m_seq;
        fillDemoSample(sample, configCopy(), m_diagData);
        sample.m_seq = seq;
        return true;
    }
    return exchangeLiveSample(sample) == ELiveRead::Ok;
}

} // namespace torva
