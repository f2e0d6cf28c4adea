#include "ui/pages/tps/sequence_capture.h"

#include "config/rounding.h"
#include "link/lpg_device.h"

#include <algorithm>
#include <cstdint>

namespace torva {

namespace {

constexpr double kMsPerCount = 0.002;
constexpr double kUnitsPerMs = 20; // the chart's x unit is 0.05 ms

// Absolute counts of one signal: the counter's step, taken modulo 2^16, added edge by edge.
void accumulate(std::uint16_t& previous, std::uint64_t& absolute, std::uint16_t current,
                bool first) {
    absolute = first ? current : absolute + static_cast<std::uint16_t>(current - previous);
    previous = current;
}

void addPulses(std::vector<SPulsePoint>& out, double ms, int width) {
    const int x = static_cast<int>(round0(ms * kUnitsPerMs));
    out.push_back({x, 0});
    out.push_back({x, 1});
    out.push_back({x + width, 1});
    out.push_back({x + width, 0});
}

} // namespace

std::optional<CapturePages> readSequenceCapture(CLPGDevice& device) {
    CapturePages pages{};
    for (int page = 0; page < kCapturePages; ++page)
        if (!device.readCapturePage(page, pages[static_cast<std::size_t>(page)]))
            return std::nullopt;
    return pages;
}

std::vector<SSignalEdgeTimes> absoluteEdgeTimes(const CapturePages& pages) {
    std::vector<SSignalEdgeTimes> edges;
    std::uint16_t previousRpm = 0, previousCam = 0;
    std::uint64_t rpm = 0, cam = 0;
    for (const SCapturePage& page : pages)
        for (std::size_t i = 0; i < kCaptureEdges; ++i) {
            const bool first = edges.empty();
            accumulate(previousRpm, rpm, page.rpmEdges[i], first);
            accumulate(previousCam, cam, page.camshaftEdges[i], first);
            edges.push_back({rpm * kMsPerCount, cam * kMsPerCount});
        }
    return edges;
}

SSequencePulses sequencePulses(const std::vector<SSignalEdgeTimes>& edges) {
    SSequencePulses pulses;
    if (edges.empty())
        return pulses;
    const double firstPeriodMs = edges.size() > 1 ? edges[1].rpmMs - edges[0].rpmMs : 0;
    const int width = std::max(1, static_cast<int>(round0(firstPeriodMs / 2 * kUnitsPerMs)));
    for (const SSignalEdgeTimes& edge : edges) {
        addPulses(pulses.rpm, edge.rpmMs, width);
        addPulses(pulses.camshaft, edge.camshaftMs, width);
    }
    return pulses;
}

} // namespace torva
