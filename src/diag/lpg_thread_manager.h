#pragma once

#include "platform/multi_thread.h"

namespace torva {

// The application's one thread manager; every polling thread is inserted into it.
//
// Exit: the polling control waits for its thread before the device goes, so normally nothing
// runs any more when this is destroyed at process exit. A thread still running then is stuck on
// the serial line and may touch objects the exit is about to free, so the destructor ends the
// process at once (exit code 0, standard streams flushed) instead of letting exit go on
// around it.
class CLPGThreadManager : public CMultiThread {
public:
    CLPGThreadManager() = default;
    ~CLPGThreadManager() override;
};

// Created on first use; the application touches it at start-up so that it outlives everything
// created later.
CLPGThreadManager& lpgThreadManager();

// Flushes the standard streams and ends the process with exit code 0 without running any more
// destructors or exit handlers.
[[noreturn]] void endProcessNow();

} // namespace torva
