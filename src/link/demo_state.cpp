#include "link/demo_state.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace torva {

namespace {
// Written on the GUI thread, read on the polling thread.
std::atomic<std::uint8_t> g_demoFuelMode{kFuelModeDiesel};
constexpr std::int64_t kNotStarted = std::numeric_limits<std::int64_t>::min();
std::atomic<std::int64_t> g_demoEngineStartMs{kNotStarted};
std::atomic<double> g_demoEngineFirstSecond{0};
} // namespace

std::uint8_t demoFuelMode() {
    return g_demoFuelMode.load();
}

void setDemoFuelMode(std::uint8_t mode) {
    g_demoFuelMode.store(mode);
}

std::atomic<std::int32_t>& demoSequence() {
    static std::atomic<std::int32_t> next{1};
    return next;
}

void restartDemoEngine(double atDriveSecond) {
    g_demoEngineFirstSecond.store(atDriveSecond);
    g_demoEngineStartMs.store(kNotStarted);
}

double demoEngineSeconds(std::int64_t nowMs) {
    const double first = g_demoEngineFirstSecond.load();
    std::int64_t start = kNotStarted;
    if (g_demoEngineStartMs.compare_exchange_strong(start, nowMs))
        return first;
    // A clock replaced since the start (tests do it) may read earlier than the start.
    return first + static_cast<double>(std::max<std::int64_t>(nowMs - start, 0)) / 1000.0;
}

} // namespace torva
