#include "ui/shell/caption_text.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "lang/source_text.h"
#include "lang/translation.h"

#include <cstdio>

namespace torva {

std::string firmwareVersionText(std::int32_t version) {
    char text[32];
    std::snprintf(text, sizeof text, "v %d.%01d", (version >> 8) & 0xFF, version & 0xFF);
    return text;
}

namespace {

// Program, controller family, program version and firmware version, and the gap after them.
std::string controllerPart(const CDeviceConfig& config) {
    std::string text = "TORVA  ";
    text += isTwentyFourVoltDevice(config.m_devInfo.m_deviceID) ? "KT2" : "KT1";
    text += "  ";
    text += kProgramVersion;
    text += "   ";
    text += translate("firmware");
    text += ": ";
    text += firmwareVersionText(config.m_devInfo.m_version);
    text += "     ";
    return text;
}

} // namespace

std::string captionText(const CDeviceConfig& config, bool connected, bool demo) {
    std::string text = controllerPart(config);
    text += translate(connected ? "POŁĄCZONY" : "BRAK POŁĄCZENIA");
    if (demo) {
        text += " DEMO";
    }
    return text;
}

std::string offlineCaptionText(const CDeviceConfig& config, const std::string& fileName,
                               bool modified) {
    return controllerPart(config) + translate(PL("PLIK OFFLINE:")) + " " + fileName +
           (modified ? "*" : "");
}

} // namespace torva
