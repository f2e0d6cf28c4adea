#include "link/demo_state.h"

#include <atomic>

namespace torva {

namespace {
// Written on the GUI thread, read on the polling thread.
std::atomic<std::uint8_t> g_demoFuelMode{kFuelModeDiesel};
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

} // namespace torva
