#pragma once

#include "link/device_records.h"

#include <array>
#include <optional>
#include <vector>

namespace torva {

class CLPGDevice;

// The sequence signal dialog's capture: the controller's four pages of RPM and camshaft edge
// times, made absolute, and the pulses drawn from them.

using CapturePages = std::array<SCapturePage, kCapturePages>;

// Reads pages 0-3 in order; nullopt as soon as one fails.
std::optional<CapturePages> readSequenceCapture(CLPGDevice& device);

// One RPM edge and one camshaft edge, milliseconds from the capture's first count.
struct SSignalEdgeTimes {
    double rpmMs = 0;
    double camshaftMs = 0;
};

// 192 pairs on one time line. The edge times come from a 16-bit counter of 2 µs steps that
// wraps after 131.072 ms, so the step between two edges is taken modulo the counter: a later
// edge never lies before an earlier one.
std::vector<SSignalEdgeTimes> absoluteEdgeTimes(const CapturePages& pages);

// A pulse train to draw: (x, level) corners, x in units of 0.05 ms, level 0 or 1.
struct SPulsePoint {
    int x = 0;
    int level = 0;
};
struct SSequencePulses {
    std::vector<SPulsePoint> rpm;
    std::vector<SPulsePoint> camshaft;
};
// Every edge becomes a pulse half the first RPM period wide (at least one unit).
SSequencePulses sequencePulses(const std::vector<SSignalEdgeTimes>& edges);

} // namespace torva
