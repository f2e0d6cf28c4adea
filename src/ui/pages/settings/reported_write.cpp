#include "ui/pages/settings/reported_write.h"

#include "config/device_config.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"

namespace torva {

bool writeExistingBlock(CLPGDevice& device, IUserInterface& ui, EBlock block, const char* failure) {
    const SDevInfo& info = device.config().m_devInfo;
    if (!blockExists(block, info.m_version, info.m_deviceID))
        return true;
    bool written = false;
    runResponsively([&] { written = device.writeBlock(block); });
    if (!written)
        ui.message(failure, page_message::kCaption, EIcon::Error);
    return written;
}

CUiWaitCursor::CUiWaitCursor(IUserInterface& ui) : m_ui(ui) {
    m_ui.setWaitCursor(true);
}

CUiWaitCursor::~CUiWaitCursor() {
    m_ui.setWaitCursor(false);
}

} // namespace torva
