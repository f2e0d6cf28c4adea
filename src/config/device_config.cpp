#include "config/device_config.h"

#include "config/adc_scale.h"
#include "config/conversions.h"
#include "config/device_type.h"

namespace torva {

namespace {

// Default load axes: the counts 64, 128, ..., 1024 in volts with the channel's scale.
LoadAxis defaultLoadAxis(double scale) {
    LoadAxis axis{};
    for (int k = 0; k < kMapRows; ++k) {
        axis[k] = adcVolts(static_cast<std::uint16_t>(64 * (k + 1)), scale);
    }
    return axis;
}

RpmAxis defaultRpmAxis() {
    RpmAxis axis{};
    for (int k = 0; k < kMapColumns; ++k) {
        axis[k] = 500.0 + 300.0 * k;
    }
    return axis;
}

LoadAxis defaultTpsDigitalAxis() {
    LoadAxis axis{};
    for (int k = 0; k < kMapRows; ++k) {
        axis[k] = 10.0 + 5.0 * k;
    }
    return axis;
}

// Type-dependent defaults. Before any controller is known the tool assumes the 24-volt injector
// values but the 12-volt supply limit.
void applyDeviceTypeDefaults(CDeviceConfig& config, std::optional<std::uint8_t> deviceType) {
    if (!deviceType) {
        config.m_base.m_minVCC = 10;
        config.m_adv.m_pwmOffset = 2.0;
        config.m_adv.m_injectorWarmingImpulse = 1.0;
        config.m_adv.m_injMounted = 6;
        return;
    }
    const bool twentyFourVolt = isTwentyFourVoltDevice(*deviceType);
    config.m_base.m_minVCC = twentyFourVolt ? 20 : 10;
    config.m_adv.m_pwmOffset = twentyFourVolt ? 2.0 : 4.0;
    config.m_adv.m_injectorWarmingImpulse = twentyFourVolt ? 1.0 : 2.0;
    config.m_adv.m_injMounted = *deviceType == kDeviceType25   ? 6
                                : *deviceType == kDeviceType37 ? 12
                                                               : 4;
}

} // namespace

CDeviceConfig::CDeviceConfig(std::optional<std::uint8_t> deviceType) {
    setDefaults(deviceType);
}

void CDeviceConfig::setDefaults(std::optional<std::uint8_t> deviceType) {
    m_timeStamp.clear();
    m_devInfo = SDevInfo{};
    m_base = SBaseSetup{};
    m_adv = SAdvancedSetup{};
    m_sensorsSetup = SSensorsSetup{};
    m_serviceSetup = SServiceSetup{};
    m_tempomatSetup = STempomatSetup{};
    applyDeviceTypeDefaults(*this, deviceType);

    for (MapValues* map :
         {&m_mapTimeEmu1, &m_mapEmu1, &m_mapTimeEmu2, &m_mapEmu2, &m_mapTimeEmu3, &m_mapEmu3,
          &m_mapTimeEmu4, &m_mapEmu4, &m_mapTimeEmuTpsD, &m_mapEmuTpsD}) {
        *map = MapValues{};
    }
    m_mapCoordinatesEmu1 = defaultLoadAxis(kFixedAdcScale);
    m_mapRpmCoordinatesEmu1 = defaultRpmAxis();
    m_mapCoordinatesEmu2 = defaultLoadAxis(kFixedAdcScale);
    m_mapCoordinatesEmu3 = defaultLoadAxis(switchableScale());
    m_mapCoordinatesEmu4 = defaultLoadAxis(switchableScale());
    m_mapCoordinatesEmuTpsD = defaultTpsDigitalAxis();
}

} // namespace torva
