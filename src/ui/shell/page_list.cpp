#include "ui/shell/page_list.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "lang/source_text.h"

namespace torva {

namespace {

constexpr std::uint8_t kMapSensorOnlyFlag = 0x80;       // m_serviceSetup.m_advancedFlags2
constexpr std::uint8_t kTpsDigitalMapFlag = 0x10;       // m_serviceSetup.m_advancedFlags2
constexpr std::uint16_t kTempomatEnabledFlag = 0x01;    // m_tempomatSetup.m_tempomatFlags
constexpr std::uint8_t kSecondTpsCorrelatedFlag = 0x10; // m_base.m_flags

} // namespace

std::vector<SPageEntry> pageList(const CDeviceConfig& config) {
    const auto& emu = config.m_base.m_emuEnable;
    const std::uint8_t flags2 = config.m_serviceSetup.m_advancedFlags2;
    const bool mapSensorOnly = (flags2 & kMapSensorOnlyFlag) != 0;
    const bool tempomat = (config.m_tempomatSetup.m_tempomatFlags & kTempomatEnabledFlag) != 0;

    std::vector<SPageEntry> pages{{EPage::Settings, PL("Ustawienia")}};
    if (emu[0] != 0 || mapSensorOnly) {
        pages.push_back({EPage::MapSensor, PL("Mapa Map Sensor")});
    }
    if (!mapSensorOnly) {
        if (emu[1] != 0 || tempomat) {
            pages.push_back(
                {EPage::MapMafTempomat, tempomat ? PL("Mapa Tempomat") : PL("Mapa MAF")});
        }
        if (emu[2] != 0) {
            pages.push_back({EPage::MapTps1, PL("Mapa TPS 1")});
        }
        if (emu[3] != 0 && (config.m_base.m_flags & kSecondTpsCorrelatedFlag) == 0) {
            pages.push_back({EPage::MapTps2, PL("Mapa TPS 2")});
        }
        if (hasTpsDigitalMaps(config.m_devInfo.m_deviceID) && (flags2 & kTpsDigitalMapFlag) != 0 &&
            config.m_serviceSetup.m_tpsDigitEmuEnable != 0) {
            pages.push_back({EPage::MapTpsDigital, PL("Mapa TPS cyfr.")});
        }
    }
    pages.push_back({EPage::Protection, PL("Zabezpieczenia")});
    pages.push_back({EPage::DeviceData, PL("Dane ECU")});
    return pages;
}

} // namespace torva
