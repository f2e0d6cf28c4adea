#include "link/demo_sample.h"

#include "config/device_type.h"
#include "link/demo_state.h"
#include "link/diag_data.h"

namespace torva {

void fillDemoSample(DiagSample& sample, std::uint8_t deviceType, CDiagData& store) {
    const std::int32_t sequence = demoSequence().fetch_add(1);
    if (sequence == 1)
        store.clear();
    const auto fuelMode = static_cast<std::uint8_t>(demoFuelMode());
    sample = DiagSample{
        .m_rpmPeriod = 11000,
        .m_fuelMode = fuelMode,
        .m_switchState = 0,
        .m_temprEngineRaw = 77,
        .m_temprLPGRaw = 98,
        // 14.4 V on either supply: 66.76... and 122.4 counts, truncated
        .m_vccRaw = static_cast<std::uint8_t>(isTwentyFourVoltDevice(deviceType) ? 66 : 122),
        .m_fuelLevelRaw = 12,
        .m_pressureRaw = 112,
        .m_vacuumRaw = 50,
        .m_signal = {200, 201, 300, 301, 700, 701, 800, 801},
        .m_exhaustTempr = 400,
        .m_statusFlags = 0,
        .m_crInjTime = 0,
        .m_auxRpmPeriod = 11000,
        .m_gasInjTime = static_cast<std::uint16_t>(fuelMode == kFuelModeGas ? 1400 : 0),
        .m_ext = {2500, 500, 200, 200, 2500, 2000, 800, 800},
        .m_seq = sequence,
    };
}

} // namespace torva
