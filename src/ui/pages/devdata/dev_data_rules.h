#pragma once

#include <cstdint>
#include <string>

namespace torva {

struct SDevInfo;

// The device data page's rules, apart from any widget.

// Bit 5 of m_serviceSetup.m_advancedFlags2: the controller is locked.
constexpr std::uint8_t kControllerLockFlag = 0x20;
// The lock button exists from this firmware version on (exclusive).
constexpr std::int32_t kLockAfterVersion = 267;

// Whether identification has filled the identity (a model name is its first result).
bool identityKnown(const SDevInfo& info);
// "KARMEL A2  v 1.47.5": model name, firmware major.minor and flag word 1.
std::string versionText(const SDevInfo& info);
// "2 x 4" on model 37, which drives two banks; "6" on the others.
std::string injectorsText(const SDevInfo& info);
// A running time kept in half-seconds as "%4d h: %02d min".
std::string runningTimeText(std::uint32_t halfSeconds);

// The lock button's caption: what a click would do.
const char* lockCaption(bool locked);

// The consumption unit labels: litres, or cubic metres on a CNG installation.
struct SConsumptionUnits {
    const char* total;
    const char* perHour;
};
SConsumptionUnits consumptionUnits(bool cng);

// The statistics are read on the 11th refresh after the last read; a read that raised an error
// leaves the countdown where it is, so the next refresh tries again.
class CStatisticsCountdown {
public:
    static constexpr int kPeriod = 11;
    // Advances the countdown; true when the read is due.
    bool tick() { return ++m_ticks >= kPeriod; }
    void read() { m_ticks = 0; }

private:
    int m_ticks = 0;
};

} // namespace torva
