#pragma once

#include "platform/sthread.h"

#include <cstddef>
#include <memory>

namespace torva {

// Owns the threads inserted into it: starts each, deletes its CSThread when run() returns, and
// joins the finished system threads.
//
// Destruction never waits for a thread still inside run(): one blocked on a serial port must not
// hold up the exit. Finished threads are joined; running ones are detached and go on alone. They
// touch nothing of the manager but a shared block they co-own, so a late return from run() is
// safe, though what run() itself uses must outlive it. Call waitAll first to end tidily.
class CThreadManager {
public:
    CThreadManager();
    ~CThreadManager();
    CThreadManager(const CThreadManager&) = delete;
    CThreadManager& operator=(const CThreadManager&) = delete;

    // Starts thread->run() on a new thread; the manager owns the object from here on. Throws
    // std::system_error when the system cannot start a thread (the object is then deleted).
    // An exception escaping run() is reported on standard error and ends only that thread.
    void insert(std::unique_ptr<CSThread> thread);

    // Threads whose run() has not returned yet (their objects are not yet deleted).
    std::size_t runningCount() const;
    bool anyRunning() const { return runningCount() > 0; }

    // Waits until no thread is inside run() any more, at most timeoutMs of real time (this waits
    // on other threads' progress, so a test clock must not cut it short). Joins every finished
    // thread. True when none is running: their objects are deleted and their threads are gone.
    bool waitAll(int timeoutMs);

private:
    struct SShared;
    void joinFinished();

    std::shared_ptr<SShared> m_shared;
};

} // namespace torva
