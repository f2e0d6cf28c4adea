#pragma once

#include "diag/diag_file_reader.h"
#include "link/diag_sample.h"

#include <cstdint>
#include <vector>

namespace torva {

class CDeviceConfig;
class CDiagData;

// The record a recording line of the sample reads back as: the values rounded as the file
// writes them, so live data and a recording of the same drive fall on the same cells.
DiagRecord recordOfSample(const DiagSample& sample, const CDeviceConfig& config);

// Live samples as records, each sample taken once however often the store is looked at.
// Samples are told apart by their sequence number; a polling thread that starts again counts
// from 1, and the feed follows it.
class CLiveRecordFeed {
public:
    // Skips what the store holds now: the feed counts from the moment it starts.
    void start(const CDiagData& store);
    // Appends the samples that came since the last call, converted with config.
    void takeNew(const CDiagData& store, const CDeviceConfig& config,
                 std::vector<DiagRecord>& records);

private:
    std::int32_t m_lastSeq = 0;
};

} // namespace torva
