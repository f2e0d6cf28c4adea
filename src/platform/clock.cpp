#include "platform/clock.h"

#include <atomic>
#include <thread>

namespace torva {

std::int64_t CSystemClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CSystemClock::sleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
CSystemClock g_systemClock;
std::atomic<IClock*> g_clock{&g_systemClock};
} // namespace

IClock& appClock() { return *g_clock.load(); }

void setAppClock(IClock* clock) { g_clock.store(clock ? clock : &g_systemClock); }

} // namespace torva
