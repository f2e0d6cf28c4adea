#pragma once

#include "platform/user_interface.h"

namespace torva {

// Shows the wait cursor for the life of a long command that keeps the user waiting.
class CWaitCursor {
public:
    CWaitCursor() { appUi().setWaitCursor(true); }
    ~CWaitCursor() { appUi().setWaitCursor(false); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace torva
