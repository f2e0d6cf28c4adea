#pragma once

#include <mutex>

namespace torva {

// A plain mutex with explicit lock and unlock; use CMSGMutex::Guard to hold it for a scope.
class CMSGMutex {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    // Takes the mutex only when it is free at once.
    bool try_lock() { return m_mutex.try_lock(); }
    using Guard = std::lock_guard<CMSGMutex>;

private:
    std::mutex m_mutex;
};

} // namespace torva
