#pragma once

#include "diag/diag_sample.h"

#include <cstddef>
#include <deque>

namespace torva {

class CDeviceConfig;

// The TPS 2 correlation chart's points: per live sample one (TPS 1, TPS 2) pair of the inputs
// (series 0) and one of the outputs (series 1). Only the most recent points are kept, so a
// dialog left open for hours neither grows without bound nor slows its painting down.
struct STpsCorrelationPoint {
    double x = 0; // TPS 1, volts (tenths with the raw-TPS flag)
    double y = 0; // TPS 2, volts
    int series = 0;
};

class CTpsCorrelationPoints {
public:
    static constexpr std::size_t kMaxPoints = 5000;

    void add(const DiagSample& sample, const CDeviceConfig& config);
    const std::deque<STpsCorrelationPoint>& points() const { return m_points; }
    void clear() { m_points.clear(); }

private:
    void push(const STpsCorrelationPoint& point);

    std::deque<STpsCorrelationPoint> m_points;
};

} // namespace torva
