#pragma once

#include "platform/clock.h"

#include <atomic>
#include <cstdint>

namespace torva::test {

// Time that only moves when someone sleeps; installs itself as the app clock for its lifetime.
class CFakeClock : public IClock {
public:
    CFakeClock() { setAppClock(this); }
    ~CFakeClock() override { setAppClock(nullptr); }
    CFakeClock(const CFakeClock&) = delete;
    CFakeClock& operator=(const CFakeClock&) = delete;

    std::int64_t nowMs() override { return m_now.load(); }
    void sleepMs(int ms) override {
        if (ms > 0) {
            m_now += ms;
            m_slept += ms;
        }
    }
    void advance(int ms) { m_now += ms; }
    // Total of every sleep so far.
    std::int64_t sleptMs() const { return m_slept.load(); }

private:
    std::atomic<std::int64_t> m_now{0};
    std::atomic<std::int64_t> m_slept{0};
};

} // namespace torva::test
