#include "ui/pages/tps/tps_correlation_points.h"

#include "config/device_config.h"
#include "diag/diag_sample_values.h"

namespace torva {

void CTpsCorrelationPoints::add(const DiagSample& sample, const CDeviceConfig& config) {
    const std::uint16_t flags = config.m_tempomatSetup.m_tempomatFlags;
    const double scale = signalScale(config.m_devInfo.m_flags1);
    const auto signal = [&](int index) { return signalValue(sample, index, flags, scale); };
    push({signal(4), signal(6), 0});
    push({signal(5), signal(7), 1});
}

void CTpsCorrelationPoints::push(const STpsCorrelationPoint& point) {
    if (m_points.size() == kMaxPoints)
        m_points.pop_front();
    m_points.push_back(point);
}

} // namespace torva
