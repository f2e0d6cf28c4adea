#include "ui/pages/common/block_write.h"

#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/responsive_call.h"

namespace torva {

bool writeBlockReported(CLPGDevice& device, EBlock block, const char* failure) {
    if (!device.isConnected())
        return false;
    bool written = false;
    runResponsively([&] { written = device.writeBlock(block); });
    if (!written)
        appUi().message(failure, page_message::kCaption, EIcon::Error);
    return written;
}

} // namespace torva
