#pragma once

#include "config/block_table.h"
#include "config/device_config.h"

#include <optional>

// Map axes regenerated from their end points: the 16-point load axis of an emulator channel and
// the 15-point RPM axis all maps share. The axis dialogs, the calibration pages and the command
// line share these rules; the dialogs only bind them.
namespace torva {

// The five emulator channels, each with its own load axis and calibration page.
enum class EEmuChannel { Emu1, Emu2, Emu3, Emu4, TpsDigital };
constexpr int kEmuChannelCount = 5;

// The channel's load axis in the record.
LoadAxis& loadAxisOf(CDeviceConfig& config, EEmuChannel channel);
const LoadAxis& loadAxisOf(const CDeviceConfig& config, EEmuChannel channel);
// The block that carries the channel's load axis; channel 1's block also carries the RPM axis.
EBlock axisBlockOf(EEmuChannel channel);

// How the 16 load points spread between the end points.
enum class EAxisScale {
    Uniform = 0, // equal steps of a sixteenth of the span; the last gap is two steps
    Precise = 1, // fine steps over the first quarter, coarse ones above
};

// Limits the dialogs accept.
constexpr double kAxisValueLimit = 100;
constexpr double kMinRpmLowest = 500;
constexpr double kMaxRpmLowest = 1500;
constexpr double kRpmHighest = 6000;
// A span from which the RPM points always rise: steps of at least a hundred.
constexpr double kRpmSpanAlwaysRising = 1500;

// What the load-axis dialog holds.
struct SEmuDefinition {
    double minValue = 0;
    double maxValue = 0;
    double minRpm = 0;
    double maxRpm = 0;
    EAxisScale scale = EAxisScale::Uniform;
};

// Why a definition is refused (None: accepted).
enum class EAxisFault {
    None,
    MinValueOutOfRange, // 0 <= minimum < 100
    MaxValueOutOfRange, // 0 <= maximum <= 100
    ValueSpanNotRising, // maximum > minimum: a flat axis has no rows to tell apart
    MinRpmOutOfRange,   // 500 <= minimum RPM <= 6000
    MaxRpmOutOfRange,   // 1500 <= maximum RPM <= 6000
    RpmSpanNegative,    // maximum RPM >= minimum RPM
    RpmPointsNotRising, // rounded to hundreds, two RPM points would be equal
    PointsNotRising,    // two points would meet once encoded (a span below the field's step)
};

// The RPM dialog's rules, with the generated points required to rise strictly (the map grid
// finds the live cell on a strictly rising axis).
EAxisFault checkRpmRange(double minRpm, double maxRpm);
// The load-axis end points: 0 <= minimum < 100, 0 <= maximum <= 100, maximum > minimum.
EAxisFault checkLoadRange(double minValue, double maxValue);
// The load-axis dialog's rules. The RPM range is checked in full only when it is used
// (generatesRpm: channel 1's page); otherwise only its field limits apply, as the dialog shows
// the shared axis on every page.
EAxisFault checkEmuDefinition(const SEmuDefinition& definition, bool generatesRpm);

// The smallest maximum RPM from which every maximum up to 6000 gives rising points with this
// minimum; std::nullopt when none does (the minimum is too high).
std::optional<double> smallestRisingMaxRpm(double minRpm);

// Whether the channel's load points are whole numbers: the digital-TPS axis always, channel 3
// when its TPS values are raw counts.
bool loadAxisIsWhole(const CDeviceConfig& config, EEmuChannel channel);

// The 16 load points from minimum a to maximum b. Each point is rounded to two decimals (whole
// numbers with wholePoints); the last point is b, rounded the same way, so that the record
// holds what the controller can keep.
LoadAxis generateLoadAxis(double a, double b, EAxisScale scale, bool wholePoints);

// The 15 RPM points from r0 to r1, every point a whole hundred (the controller keeps hundreds).
RpmAxis generateRpmAxis(double r0, double r1);

bool isStrictlyRising(const RpmAxis& axis);

// The axes a definition gives one channel: its load axis and, from channel 1's page, the RPM
// axis; the RPM dialog gives the RPM axis alone.
struct SNewAxes {
    std::optional<LoadAxis> load;
    std::optional<RpmAxis> rpm;
};

// The new axes of an accepted definition for the channel of this record, or std::nullopt when
// nothing changes (the digital-TPS axis with its end points as they are). The digital-TPS axis
// is always uniform; only channel 1 takes an RPM axis, and only when withRpm.
std::optional<SNewAxes> defineAxes(const CDeviceConfig& config, EEmuChannel channel,
                                   const SEmuDefinition& definition, bool withRpm);

// Puts the axes into the record.
void applyAxes(CDeviceConfig& config, EEmuChannel channel, const SNewAxes& axes);

// Whether the new axes, in the record, are held by the controller and still rise strictly once
// encoded: None, or PointsNotRising.
EAxisFault checkNewAxes(const CDeviceConfig& config, EEmuChannel channel, const SNewAxes& axes);

} // namespace torva
