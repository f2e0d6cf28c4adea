#include "ui/pages/common/block_write.h"

#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/responsive_call.h"

namespace torva {

bool writeBlockShowingFailure(CLPGDevice& device, IUserInterface& ui, EBlock block,
                              const char* failure) {
    bool written = false;
    runResponsively([&] { written = device.writeBlock(block); });
    if (!written)
        ui.message(failure, page_message::kCaption, EIcon::Error);
    return written;
}

bool writeBlockReported(CLPGDevice& device, EBlock block, const char* failure) {
    return device.isConnected() && writeBlockShowingFailure(device, appUi(), block, failure);
}

} // namespace torva
