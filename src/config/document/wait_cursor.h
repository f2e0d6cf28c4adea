#pragma once

#include "platform/user_interface.h"

namespace torva {

// Shows the wait cursor while the controller is kept busy by a whole-configuration command.
class CWaitCursor {
public:
    CWaitCursor() { appUi().setWaitCursor(true); }
    ~CWaitCursor() { appUi().setWaitCursor(false); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace torva
