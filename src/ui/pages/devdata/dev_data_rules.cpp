#include "ui/pages/devdata/dev_data_rules.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "lang/source_text.h"

#include <cstdio>

namespace torva {

bool identityKnown(const SDevInfo& info) {
    return !info.m_modelName.empty();
}

std::string versionText(const SDevInfo& info) {
    char text[96];
    std::snprintf(text, sizeof text, "%s  v %d.%01d.%u", info.m_modelName.c_str(),
                  (info.m_version >> 8) & 0xFF, info.m_version & 0xFF,
                  static_cast<unsigned>(info.m_flags1));
    return text;
}

std::string injectorsText(const SDevInfo& info) {
    return (info.m_deviceID == kDeviceType37 ? "2 x " : "") + std::to_string(info.m_injCount);
}

std::string runningTimeText(std::uint32_t halfSeconds) {
    const std::uint32_t seconds = halfSeconds / 2;
    const std::uint32_t hours = seconds / 3600;
    const std::uint32_t minutes = seconds / 60 - hours * 60;
    char text[32];
    std::snprintf(text, sizeof text, "%4u h: %02u min", static_cast<unsigned>(hours),
                  static_cast<unsigned>(minutes));
    return text;
}

const char* lockCaption(bool locked) {
    return locked ? PL("Odblokuj") : PL("Zablokuj");
}

SConsumptionUnits consumptionUnits(bool cng) {
    if (cng)
        return {PL("[ m3 ]"), PL("[ m3/h ]")};
    return {PL("[ L ]"), PL("[ L/h ]")};
}

} // namespace torva
