#pragma once

namespace torva {

// A unit of work with its own thread. Hand it to a CThreadManager, which starts a thread running
// run() and deletes the object on that thread as soon as run() returns.
class CSThread {
public:
    CSThread() = default;
    virtual ~CSThread() = default;
    CSThread(const CSThread&) = delete;
    CSThread& operator=(const CSThread&) = delete;

    virtual void run() = 0;
};

} // namespace torva
