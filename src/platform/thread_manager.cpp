#include "platform/thread_manager.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <iostream>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace torva {

// Everything a worker thread touches after run() returns; the manager and every worker co-own it.
struct CThreadManager::SShared {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t running = 0;
    std::map<std::thread::id, std::thread> threads;
    std::vector<std::thread::id> finished; // returned from run(), not joined yet
};

namespace {

void runReportingEscapes(CSThread& thread) {
    try {
        thread.run();
    } catch (const std::exception& e) {
        std::cerr << "thread ended by an uncaught exception: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "thread ended by an uncaught exception of unknown type\n";
    }
}

} // namespace

CThreadManager::CThreadManager() : m_shared(std::make_shared<SShared>()) {}

CThreadManager::~CThreadManager() {
    joinFinished();
    std::lock_guard lock(m_shared->mutex);
    for (auto& [id, thread] : m_shared->threads)
        thread.detach();
    m_shared->threads.clear();
}

void CThreadManager::insert(std::unique_ptr<CSThread> thread) {
    joinFinished();
    // Held until the system thread is filed, so a quick worker cannot report its end before.
    std::lock_guard lock(m_shared->mutex);
    std::thread worker([shared = m_shared, object = std::move(thread)]() mutable {
        runReportingEscapes(*object);
        object.reset();
        std::lock_guard lock(shared->mutex);
        --shared->running;
        shared->finished.push_back(std::this_thread::get_id());
        shared->changed.notify_all();
    });
    ++m_shared->running;
    const auto id = worker.get_id();
    m_shared->threads.emplace(id, std::move(worker));
}

std::size_t CThreadManager::runningCount() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->running;
}

bool CThreadManager::waitAll(int timeoutMs) {
    bool idle = false;
    {
        std::unique_lock lock(m_shared->mutex);
        idle = m_shared->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                          [this] { return m_shared->running == 0; });
    }
    joinFinished();
    return idle;
}

void CThreadManager::joinFinished() {
    std::vector<std::thread> done;
    {
        std::lock_guard lock(m_shared->mutex);
        for (const auto id : m_shared->finished) {
            const auto it = m_shared->threads.find(id);
            if (it == m_shared->threads.end())
                continue;
            done.push_back(std::move(it->second));
            m_shared->threads.erase(it);
        }
        m_shared->finished.clear();
    }
    // Each of these has only its last few instructions left.
    for (auto& thread : done)
        thread.join();
}

} // namespace torva
