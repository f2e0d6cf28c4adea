#include "lang/cng_flag.h"

#include <atomic>

namespace torva {

namespace {
std::atomic<bool> g_cng{false};
}

bool isCngInstallation() {
    return g_cng.load();
}

void setCngInstallation(bool cng) {
    g_cng.store(cng);
}

} // namespace torva
