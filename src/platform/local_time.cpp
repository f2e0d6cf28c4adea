#include "platform/local_time.h"

#include <ctime>

namespace torva {

std::string localTimeText(std::chrono::system_clock::time_point when, const char* format,
                          const char* whenUnknown) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return whenUnknown;
    char text[64] = {};
    return std::string(text, std::strftime(text, sizeof text, format, &local));
}

} // namespace torva
