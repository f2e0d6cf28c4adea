#include "diag/poll_counters.h"

namespace torva {

std::atomic<std::int32_t>& consecutiveFailures() {
    static std::atomic<std::int32_t> count{0};
    return count;
}

std::atomic<std::int64_t>& storedSamples() {
    static std::atomic<std::int64_t> count{0};
    return count;
}

} // namespace torva
