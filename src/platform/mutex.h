#pragma once

#include <mutex>

namespace torva {

// A plain mutex with explicit lock and unlock; use CMSGMutex::Guard to hold it for a scope.
class CMSGMutex {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    using Guard = std::lock_guard<CMSGMutex>;

private:
    std::mutex m_mutex;
};

} // namespace torva
