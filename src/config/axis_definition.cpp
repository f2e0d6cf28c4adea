#include "config/axis_definition.h"

#include "config/rounding.h"
#include "config/value_check.h"

#include <cmath>
#include <vector>

namespace torva {

namespace {

// Precise scale: the share of the span per step index, so point i = a + share[i] * span * i.
// Points 0-9 climb by 2.5 % of the span, point 10 sits at 50 %, points 11-15 at i / 15.
constexpr LoadAxis kPreciseShares{0.025,    0.025,    0.025,    0.025,   0.025, 0.025,
                                  0.025,    0.025,    0.025,    0.025,   0.05,  1.0 / 15,
                                  1.0 / 15, 1.0 / 15, 1.0 / 15, 1.0 / 15};

// Uniform scale: a sixteenth of the span per step.
constexpr double kUniformShare = 0.0625;

double roundToHundred(double rpm) {
    return 100 * round0(rpm / 100);
}

bool within(double value, double lowest, double highest) {
    return value >= lowest && value <= highest;
}

EAxisFault checkRpmLimits(double minRpm, double maxRpm) {
    if (!within(minRpm, kMinRpmLowest, kRpmHighest))
        return EAxisFault::MinRpmOutOfRange;
    if (!within(maxRpm, kMaxRpmLowest, kRpmHighest))
        return EAxisFault::MaxRpmOutOfRange;
    if (maxRpm < minRpm)
        return EAxisFault::RpmSpanNegative;
    return EAxisFault::None;
}

} // namespace

LoadAxis& loadAxisOf(CDeviceConfig& config, EEmuChannel channel) {
    switch (channel) {
    case EEmuChannel::Emu1:
        return config.m_mapCoordinatesEmu1;
    case EEmuChannel::Emu2:
        return config.m_mapCoordinatesEmu2;
    case EEmuChannel::Emu3:
        return config.m_mapCoordinatesEmu3;
    case EEmuChannel::Emu4:
        return config.m_mapCoordinatesEmu4;
    case EEmuChannel::TpsDigital:
        break;
    }
    return config.m_mapCoordinatesEmuTpsD;
}

const LoadAxis& loadAxisOf(const CDeviceConfig& config, EEmuChannel channel) {
    return loadAxisOf(const_cast<CDeviceConfig&>(config), channel);
}

EBlock axisBlockOf(EEmuChannel channel) {
    switch (channel) {
    case EEmuChannel::Emu1:
        return EBlock::Axes1Rpm;
    case EEmuChannel::Emu2:
        return EBlock::Axis2;
    case EEmuChannel::Emu3:
        return EBlock::Axis3;
    case EEmuChannel::Emu4:
        return EBlock::Axis4;
    case EEmuChannel::TpsDigital:
        break;
    }
    return EBlock::AxisTpsD;
}

bool isStrictlyRising(const RpmAxis& axis) {
    for (int i = 1; i < kMapColumns; ++i) {
        if (!(axis[i] > axis[i - 1]))
            return false;
    }
    return true;
}

EAxisFault checkRpmRange(double minRpm, double maxRpm) {
    if (const EAxisFault fault = checkRpmLimits(minRpm, maxRpm); fault != EAxisFault::None)
        return fault;
    if (!isStrictlyRising(generateRpmAxis(minRpm, maxRpm)))
        return EAxisFault::RpmPointsNotRising;
    return EAxisFault::None;
}

EAxisFault checkLoadRange(double minValue, double maxValue) {
    if (!(minValue >= 0 && minValue < kAxisValueLimit))
        return EAxisFault::MinValueOutOfRange;
    if (!within(maxValue, 0, kAxisValueLimit))
        return EAxisFault::MaxValueOutOfRange;
    if (!(maxValue > minValue))
        return EAxisFault::ValueSpanNotRising;
    return EAxisFault::None;
}

EAxisFault checkEmuDefinition(const SEmuDefinition& definition, bool generatesRpm) {
    const EAxisFault loadFault = checkLoadRange(definition.minValue, definition.maxValue);
    if (loadFault != EAxisFault::None)
        return loadFault;
    if (generatesRpm)
        return checkRpmRange(definition.minRpm, definition.maxRpm);
    return checkRpmLimits(definition.minRpm, definition.maxRpm);
}

std::optional<double> smallestRisingMaxRpm(double minRpm) {
    if (checkRpmRange(minRpm, kRpmHighest) != EAxisFault::None)
        return std::nullopt;
    const double lowest = std::max(std::ceil(minRpm), kMaxRpmLowest);
    double maxRpm = kRpmHighest;
    while (maxRpm - 1 >= lowest && checkRpmRange(minRpm, maxRpm - 1) == EAxisFault::None)
        maxRpm -= 1;
    return maxRpm;
}

bool loadAxisIsWhole(const CDeviceConfig& config, EEmuChannel channel) {
    return channel == EEmuChannel::TpsDigital ||
           (channel == EEmuChannel::Emu3 && config.tpsValuesAreRawCounts());
}

LoadAxis generateLoadAxis(double a, double b, EAxisScale scale, bool wholePoints) {
    const double span = b - a;
    const auto roundPoint = [wholePoints](double value) {
        return wholePoints ? round0(value) : round2(value);
    };
    LoadAxis axis{};
    for (int i = 0; i < kMapRows; ++i) {
        const double share = scale == EAxisScale::Precise ? kPreciseShares[i] : kUniformShare;
        axis[i] = roundPoint(a + share * span * i);
    }
    axis[kMapRows - 1] = roundPoint(b);
    return axis;
}

RpmAxis generateRpmAxis(double r0, double r1) {
    // A fifteenth of the span per step, so the last gap is two steps wide.
    const double step = (r1 - r0) / 15;
    RpmAxis axis{};
    for (int i = 0; i < kMapColumns; ++i)
        axis[i] = roundToHundred(step * i + r0);
    axis[kMapColumns - 1] = roundToHundred(r1);
    return axis;
}

std::optional<SNewAxes> defineAxes(const CDeviceConfig& config, EEmuChannel channel,
                                   const SEmuDefinition& definition, bool withRpm) {
    const LoadAxis& current = loadAxisOf(config, channel);
    EAxisScale scale = definition.scale;
    if (channel == EEmuChannel::TpsDigital) {
        if (definition.minValue == current[0] && definition.maxValue == current[kMapRows - 1])
            return std::nullopt;
        scale = EAxisScale::Uniform;
    }
    SNewAxes axes;
    axes.load = generateLoadAxis(definition.minValue, definition.maxValue, scale,
                                 loadAxisIsWhole(config, channel));
    if (channel == EEmuChannel::Emu1 && withRpm)
        axes.rpm = generateRpmAxis(definition.minRpm, definition.maxRpm);
    return axes;
}

void applyAxes(CDeviceConfig& config, EEmuChannel channel, const SNewAxes& axes) {
    if (axes.load)
        loadAxisOf(config, channel) = *axes.load;
    if (axes.rpm)
        config.m_mapRpmCoordinatesEmu1 = *axes.rpm;
}

EAxisFault checkNewAxes(const CDeviceConfig& config, EEmuChannel channel, const SNewAxes& axes) {
    CDeviceConfig changed = config;
    applyAxes(changed, channel, axes);
    std::vector<EBlock> blocks;
    if (axes.load)
        blocks.push_back(axisBlockOf(channel));
    if (axes.rpm && (blocks.empty() || blocks.front() != EBlock::Axes1Rpm))
        blocks.push_back(EBlock::Axes1Rpm);
    return checkBlockValues(changed, blocks) ? EAxisFault::PointsNotRising : EAxisFault::None;
}

} // namespace torva
