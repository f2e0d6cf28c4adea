#pragma once

#include <atomic>
#include <cstdint>

namespace torva {

// Process-wide values of the polling, shared by the polling thread and the window's thread.

// Consecutive transmission failures of the live-sample read; the eleventh ends polling.
std::atomic<std::int32_t>& consecutiveFailures();
// Samples the polling threads have stored since the program started, so a long run can check
// that a recording holds a line for every one of them.
std::atomic<std::int64_t>& storedSamples();

} // namespace torva
