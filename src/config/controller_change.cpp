#include "config/controller_change.h"

#include "config/block_codec.h"
#include "config/block_table.h"

namespace torva {

EControllerChange controllerChange(const CDeviceConfig& shown, const CDeviceConfig& read) {
    const SDevInfo& was = shown.m_devInfo;
    const SDevInfo& now = read.m_devInfo;
    if (was.m_deviceID != now.m_deviceID || was.m_serial != now.m_serial ||
        was.m_version != now.m_version)
        return EControllerChange::Controller;
    for (const EBlock block : configurationReadOrder()) {
        if (!blockExists(block, now.m_version, now.m_deviceID))
            continue;
        // The read record last: encoding the base block sets the CNG wording from it, and that
        // must stay the connected controller's.
        const std::vector<std::uint8_t> before = encodeBlock(block, shown);
        if (before != encodeBlock(block, read))
            return EControllerChange::Configuration;
    }
    return EControllerChange::None;
}

} // namespace torva
