#pragma once

#include <atomic>
#include <cstdint>

namespace torva {

// Process-wide values of the polling, shared by the polling thread and the window's thread.

// Consecutive transmission failures of the live-sample read; the eleventh ends polling.
std::atomic<std::int32_t>& consecutiveFailures();

} // namespace torva
