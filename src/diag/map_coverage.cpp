#include "diag/map_coverage.h"

#include "config/maps/map_catalogue.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace torva {

namespace {

// Bit 0 of m_tempomatFlags: channel 2 emulates the MAP sensor for the tempomat and reads
// signal 1, as channel 1 does.
constexpr std::uint16_t kTempomatCaseFlag = 0x01;

constexpr int kSignal1Column = 11;
constexpr int kPwmInput1Column = 23;

} // namespace

int channelInputColumn(const CDeviceConfig& config, int channel) {
    if (channel == kTpsDigitalChannel)
        return kPwmInput1Column;
    if (channel < 1 || channel > 4)
        throw std::out_of_range("no emulator channel " + std::to_string(channel));
    if (channel == 2 && (config.m_tempomatSetup.m_tempomatFlags & kTempomatCaseFlag) != 0)
        return kSignal1Column;
    // Each channel has an input and an output signal: inputs are signals 1, 3, 5 and 7.
    return kSignal1Column + 2 * (channel - 1);
}

CCoverageRule::CCoverageRule(const CDeviceConfig& config, int channel)
    : m_rpmAxis(config.m_mapRpmCoordinatesEmu1), m_loadAxis(loadAxis(config, channel)),
      m_inputColumn(channelInputColumn(config, channel)) {}

SMapCell CCoverageRule::cellOf(const DiagRecord& record) const {
    return mapCellOf(m_rpmAxis, m_loadAxis, record[recordIndexOfColumn(kEngineSpeedColumn)],
                     record[recordIndexOfColumn(m_inputColumn)]);
}

void CMapCoverage::add(SMapCell cell, const DiagRecord& record) {
    SCellSums& sums = m_cells[cell.row][cell.column];
    ++sums.count;
    for (int i = 0; i < kDiagColumns; ++i)
        sums.sums[i] += record[i];
    m_maxCount = std::max(m_maxCount, sums.count);
    ++m_total;
}

std::optional<double> CMapCoverage::mean(SMapCell cell, int column) const {
    if (column < 1 || column > kDiagColumns)
        throw std::out_of_range("no recording column " + std::to_string(column));
    const SCellSums& sums = at(cell);
    if (sums.count == 0)
        return std::nullopt;
    return sums.sums[recordIndexOfColumn(column)] / sums.count;
}

CMapCoverage binRecords(const std::vector<DiagRecord>& records, const CCoverageRule& rule) {
    CMapCoverage coverage;
    for (const DiagRecord& record : records)
        coverage.add(rule.cellOf(record), record);
    return coverage;
}

} // namespace torva
