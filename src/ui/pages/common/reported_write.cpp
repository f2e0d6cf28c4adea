#include "ui/pages/common/reported_write.h"

#include "config/device_config.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/block_write.h"

namespace torva {

bool writeExistingBlock(CLPGDevice& device, IUserInterface& ui, EBlock block, const char* failure) {
    const SDevInfo& info = device.config().m_devInfo;
    if (!blockExists(block, info.m_version, info.m_deviceID))
        return true;
    return writeBlockShowingFailure(device, ui, block, failure);
}

CUiWaitCursor::CUiWaitCursor(IUserInterface& ui) : m_ui(ui) {
    m_ui.setWaitCursor(true);
}

CUiWaitCursor::~CUiWaitCursor() {
    m_ui.setWaitCursor(false);
}

} // namespace torva
