#pragma once

#include "platform/thread_manager.h"

namespace torva {

// Base of an object that keeps a set of worker threads for its lifetime.
class CMultiThread {
public:
    CMultiThread() = default;
    virtual ~CMultiThread() = default;
    CMultiThread(const CMultiThread&) = delete;
    CMultiThread& operator=(const CMultiThread&) = delete;

    CThreadManager& threadManager() { return m_threadManager; }

private:
    CThreadManager m_threadManager;
};

} // namespace torva
