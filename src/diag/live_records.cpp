#include "diag/live_records.h"

#include "diag/diag_file.h"
#include "link/diag_data.h"

#include <limits>

namespace torva {

namespace {

std::vector<DiagSample> storedSamples(const CDiagData& store) {
    std::vector<DiagSample> samples;
    store.copyRange(std::numeric_limits<std::size_t>::max(), 0, samples);
    return samples;
}

} // namespace

DiagRecord recordOfSample(const DiagSample& sample, const CDeviceConfig& config) {
    const std::vector<DiagRecord> records = parseDiagRecords(formatDiagLine(sample, config));
    return records.empty() ? DiagRecord{} : records.front();
}

void CLiveRecordFeed::start(const CDiagData& store) {
    const std::vector<DiagSample> samples = storedSamples(store);
    m_lastSeq = samples.empty() ? 0 : samples.back().m_seq;
}

void CLiveRecordFeed::takeNew(const CDiagData& store, const CDeviceConfig& config,
                              std::vector<DiagRecord>& records) {
    const std::vector<DiagSample> samples = storedSamples(store);
    if (samples.empty())
        return;
    if (samples.back().m_seq < m_lastSeq)
        m_lastSeq = 0; // polling started again
    for (const DiagSample& sample : samples) {
        if (sample.m_seq > m_lastSeq)
            records.push_back(recordOfSample(sample, config));
    }
    m_lastSeq = samples.back().m_seq;
}

} // namespace torva
