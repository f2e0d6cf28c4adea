#pragma once

#include <chrono>
#include <cstdint>

namespace torva {

// Every sleep and time-out of the core goes through one clock, so tests can replace time.
class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary, fixed origin.
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

class CSystemClock : public IClock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
};

// The process-wide clock; the system clock unless a test or tool installs another.
IClock& appClock();
// Installs clock (nullptr restores the system clock). The caller keeps ownership.
void setAppClock(IClock* clock);

} // namespace torva
