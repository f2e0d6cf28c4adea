#include "link/lpg_device.h"

#include "config/block_codec.h"
#include "link/request_shapes.h"

#include <algorithm>

namespace torva {

bool CLPGDevice::readBlock(EBlock block) {
    if (isDemo())
        return true;
    if (isOffline())
        return readBlockOffline(block);
    const SBlockInfo& info = blockInfo(block);
    SAnswer answer;
    if (!query(info.readSubCode, 0, info.code, info.readAttempts, answer))
        return false;
    // The answer is taken on its code alone; decodeBlock reads only what arrived of the block
    // and takes the rest as zero.
    const ConfigLock lock = lockConfig();
    decodeBlock(block, answer.bytes.data(), std::min<std::size_t>(answer.length, info.size),
                m_config);
    return true;
}

bool CLPGDevice::writeBlock(EBlock block) {
    if (isDemo())
        return true;
    if (isOffline())
        return writeBlockOffline(block);
    const SBlockInfo& info = blockInfo(block);
    const std::vector<std::uint8_t> payload =
        withConfig([block](const CDeviceConfig& config) { return encodeBlock(block, config); });
    // Each attempt scrambles its own copy.
    return writeAcked(
        info.code, [&payload] { return payload; }, info.writeAttempts);
}

} // namespace torva
