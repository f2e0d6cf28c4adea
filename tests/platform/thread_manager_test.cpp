#include "platform/multi_thread.h"
#include "platform/thread_manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <stdexcept>

using namespace torva;

namespace {

constexpr int kPatienceMs = 10000;

// Records when it runs and when it is deleted; optionally holds run() until released.
class CProbeThread : public CSThread {
public:
    struct SProbe {
        std::atomic<int> runs{0};
        std::atomic<int> deleted{0};
        std::atomic<int> active{0};
        std::atomic<int> mostActive{0};
    };

    explicit CProbeThread(SProbe& probe, std::latch* release = nullptr)
        : m_probe(probe), m_release(release) {}
    ~CProbeThread() override { ++m_probe.deleted; }

    void run() override {
        const int active = ++m_probe.active;
        int most = m_probe.mostActive.load();
        while (active > most && !m_probe.mostActive.compare_exchange_weak(most, active)) {
        }
        ++m_probe.runs;
        if (m_release)
            m_release->wait();
        --m_probe.active;
    }

private:
    SProbe& m_probe;
    std::latch* m_release;
};

class CThrowingThread : public CSThread {
public:
    explicit CThrowingThread(std::atomic<int>& deleted) : m_deleted(deleted) {}
    ~CThrowingThread() override { ++m_deleted; }
    void run() override { throw std::runtime_error("port vanished"); }

private:
    std::atomic<int>& m_deleted;
};

} // namespace

TEST(ThreadManager, RunsInsertedThreadsAndDeletesThemWhenRunReturns) {
    CThreadManager manager;
    CProbeThread::SProbe probe;
    for (int i = 0; i < 200; ++i)
        manager.insert(std::make_unique<CProbeThread>(probe));
    ASSERT_TRUE(manager.waitAll(kPatienceMs));
    EXPECT_EQ(probe.runs, 200);
    EXPECT_EQ(probe.deleted, 200);
    EXPECT_FALSE(manager.anyRunning());
    EXPECT_EQ(manager.runningCount(), 0u);
}

TEST(ThreadManager, ReportsAThreadStillInsideRunUntilItLeaves) {
    CThreadManager manager;
    CProbeThread::SProbe probe;
    std::latch release(1);
    manager.insert(std::make_unique<CProbeThread>(probe, &release));

    EXPECT_TRUE(manager.anyRunning());
    EXPECT_FALSE(manager.waitAll(20));
    EXPECT_EQ(probe.deleted, 0);

    release.count_down();
    ASSERT_TRUE(manager.waitAll(kPatienceMs));
    EXPECT_EQ(probe.deleted, 1);
}

TEST(ThreadManager, WaitingBeforeEachStartKeepsOneThreadAtATime) {
    CThreadManager manager;
    CProbeThread::SProbe probe;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(manager.waitAll(kPatienceMs));
        manager.insert(std::make_unique<CProbeThread>(probe));
    }
    ASSERT_TRUE(manager.waitAll(kPatienceMs));
    EXPECT_EQ(probe.runs, 50);
    EXPECT_EQ(probe.mostActive, 1);
}

TEST(ThreadManager, AnEscapingExceptionEndsOnlyItsThread) {
    CThreadManager manager;
    std::atomic<int> deleted{0};
    manager.insert(std::make_unique<CThrowingThread>(deleted));
    ASSERT_TRUE(manager.waitAll(kPatienceMs));
    EXPECT_EQ(deleted, 1);

    CProbeThread::SProbe probe;
    manager.insert(std::make_unique<CProbeThread>(probe));
    ASSERT_TRUE(manager.waitAll(kPatienceMs));
    EXPECT_EQ(probe.runs, 1);
}

TEST(ThreadManager, DestructionDoesNotWaitForAThreadStuckInRun) {
    CProbeThread::SProbe probe;
    std::latch release(1);
    {
        CMultiThread owner;
        owner.threadManager().insert(std::make_unique<CProbeThread>(probe, &release));
        while (probe.runs < 1)
            std::this_thread::yield();
    }
    // The stuck thread outlived its manager; letting it return must still delete its object.
    EXPECT_EQ(probe.deleted, 0);
    release.count_down();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (probe.deleted < 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(probe.deleted, 1);
}
