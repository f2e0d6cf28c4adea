#include "link/diag_sample.h"

#include <algorithm>
#include <cstring>

namespace torva {

namespace {

// The compact layout: bytes 0-29 as in the current one, 30-31 unused, 32-33 the gas
// injection time.
constexpr std::size_t kCompactSharedBytes = 30;
constexpr std::size_t kCompactGasInjTimeOffset = 32;

std::uint8_t* imageOf(DiagSample& sample) {
    return reinterpret_cast<std::uint8_t*>(&sample);
}

} // namespace

bool decodeLiveSample(std::uint8_t code, const std::uint8_t* payload, std::size_t length,
                      DiagSample& sample) {
    if (code != kCompactSampleCode && code != kCurrentSampleCode)
        return false;
    std::uint8_t* image = imageOf(sample);
    std::memset(image, 0, kLiveImageSize);
    if (code == kCurrentSampleCode) {
        std::memcpy(image, payload, std::min(length, kLiveImageSize));
    } else {
        std::memcpy(image, payload, std::min(length, kCompactSharedBytes));
        if (length >= kCompactGasInjTimeOffset + 2)
            std::memcpy(&sample.m_gasInjTime, payload + kCompactGasInjTimeOffset, 2);
    }
    if (sample.m_fuelMode == 4 || sample.m_fuelMode == 5)
        sample.m_fuelMode = kFuelModeGas;
    return true;
}

} // namespace torva
