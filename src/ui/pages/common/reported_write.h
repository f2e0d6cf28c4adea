#pragma once

#include "config/block_table.h"

namespace torva {

class CLPGDevice;
class IUserInterface;

// Writes a block of the live record while the window keeps painting; a failed write shows
// failure (caption "TORVA", error icon) through ui and returns false. A block the controller's
// firmware lacks is skipped, as the configuration read skips it: nothing to send, nothing
// failed. The caller decides whether a controller is connected.
bool writeExistingBlock(CLPGDevice& device, IUserInterface& ui, EBlock block, const char* failure);

// The wait cursor for as long as a handler's sequence runs, also when it ends in an error.
class CUiWaitCursor {
public:
    explicit CUiWaitCursor(IUserInterface& ui);
    ~CUiWaitCursor();
    CUiWaitCursor(const CUiWaitCursor&) = delete;
    CUiWaitCursor& operator=(const CUiWaitCursor&) = delete;

private:
    IUserInterface& m_ui;
};

} // namespace torva
