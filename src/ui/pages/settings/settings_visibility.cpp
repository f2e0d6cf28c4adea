#include "ui/pages/settings/settings_visibility.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "ui/pages/settings/settings_options.h"

namespace torva {

namespace {

constexpr std::uint8_t kTpsDoubleFlag = 0x10;        // m_base.m_flags
constexpr std::uint16_t kTempomatEnabledFlag = 0x01; // m_tempomatFlags

constexpr std::int32_t kMaxRpmVersion = 264;
constexpr std::int32_t kMapAveragingVersion = 270;
constexpr std::int32_t kWorkMachinesType3Version = 274;
constexpr std::int32_t kInjectionSequenceVersion = 275;
constexpr std::int32_t kWorkMachinesVersion = 285;
constexpr std::int32_t kMinGasTemprVersion = 300;

} // namespace

SSettingsVisibility settingsVisibility(const CDeviceConfig& config) {
    const std::uint8_t deviceType = config.m_devInfo.m_deviceID;
    const std::int32_t version = config.m_devInfo.m_version;
    // Every type but the first controller generation (3) counts with the newer ones.
    const bool newerType = deviceType != kDeviceType3;
    const bool digitalTps = tpsType(config) == ETpsType::Digital;
    const bool tpsDouble = (config.m_base.m_flags & kTpsDoubleFlag) != 0;

    SSettingsVisibility shown;
    shown.maxRpmOnGas = version >= kMaxRpmVersion;
    shown.rpmThreshold = newerType;
    shown.rpmSignalType = !newerType;
    shown.tpsDouble = !digitalTps;
    shown.tpsEmulator1 = !digitalTps;
    shown.tpsEmulator2 = !digitalTps && !tpsDouble;
    shown.digitalTpsEmulator = digitalTps;
    shown.mafEmulator = (config.m_tempomatSetup.m_tempomatFlags & kTempomatEnabledFlag) == 0;
    shown.mapAveraging = !newerType || version >= kMapAveragingVersion;
    shown.injectionSequence = newerType && version >= kInjectionSequenceVersion;
    shown.workMachines = version >= (newerType ? kWorkMachinesVersion : kWorkMachinesType3Version);
    shown.minGasTempr = version >= kMinGasTemprVersion;
    return shown;
}

} // namespace torva
