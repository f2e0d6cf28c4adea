#pragma once

#include <chrono>
#include <string>

namespace torva {

// when in the local time zone as strftime's format puts it (up to 63 characters); whenUnknown
// when the time cannot be converted.
std::string localTimeText(std::chrono::system_clock::time_point when, const char* format,
                          const char* whenUnknown = "?");

} // namespace torva
