#include "ui/shell/caption_text.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "lang/translation.h"

#include <cstdio>

namespace torva {

std::string firmwareVersionText(std::int32_t version) {
    char text[32];
    std::snprintf(text, sizeof text, "v %d.%01d", (version >> 8) & 0xFF, version & 0xFF);
    return text;
}

std::string captionText(const CDeviceConfig& config, bool connected, bool demo) {
    std::string text = "TORVA  ";
    text += isTwentyFourVoltDevice(config.m_devInfo.m_deviceID) ? "KT2" : "KT1";
    text += "  ";
    text += kProgramVersion;
    text += "   ";
    text += translate("firmware");
    text += ": ";
    text += firmwareVersionText(config.m_devInfo.m_version);
    text += "     ";
    text += translate(connected ? "POŁĄCZONY" : "BRAK POŁĄCZENIA");
    if (demo) {
        text += " DEMO";
    }
    return text;
}

} // namespace torva
