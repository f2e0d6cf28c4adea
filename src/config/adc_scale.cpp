#include "config/adc_scale.h"

#include <atomic>

namespace torva {

namespace {
std::atomic<bool> g_highScale{false};
}

double switchableScale() {
    return g_highScale.load() ? kHighSwitchableAdcScale : kFixedAdcScale;
}

void updateSwitchableScale(std::uint32_t flags1) {
    g_highScale.store((flags1 & kHighSwitchableScaleFlag) != 0);
}

} // namespace torva
