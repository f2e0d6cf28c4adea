#include "link/demo_state.h"

#include <atomic>

namespace torva {

namespace {
std::atomic<int> g_demoFuelMode{2};
}

int demoFuelMode() {
    return g_demoFuelMode.load();
}

void setDemoFuelMode(int mode) {
    g_demoFuelMode.store(mode);
}

} // namespace torva
