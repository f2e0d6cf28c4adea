#pragma once

#include "config/device_config.h"
#include "config/maps/map_cell.h"
#include "diag/diag_file_reader.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace torva {

// Where the engine ran on a channel's grids, and what it did there: recording lines binned by
// the grids' own live-cell rule (mapCellOf).

// The recording column of the engine speed.
constexpr int kEngineSpeedColumn = 4;

// The recording column that carries a channel's input, the value its calibration page shows in
// "Wejście" and marks the live cell by: signal 1 (column 11) for channel 1 and for channel 2 in
// the tempomat case (bit 0 of m_tempomatSetup.m_tempomatFlags), signal 3 (13) for channel 2
// otherwise, signal 5 (15) for channel 3, signal 7 (17) for channel 4 and PWM input 1 (23) for
// the digital TPS channel. Channels are numbered as in SMapInfo (kTpsDigitalChannel is 5);
// throws std::out_of_range for another number.
int channelInputColumn(const CDeviceConfig& config, int channel);

// How the lines of a recording fall on one channel's grids, with the axes and the tempomat flag
// of the configuration given (copied, so the rule stays as it was made).
class CCoverageRule {
public:
    CCoverageRule(const CDeviceConfig& config, int channel);
    SMapCell cellOf(const DiagRecord& record) const;
    int inputColumn() const { return m_inputColumn; }

private:
    RpmAxis m_rpmAxis;
    LoadAxis m_loadAxis;
    int m_inputColumn;
};

// Samples per cell, with the sums of every column so that any column's mean per cell is at hand
// without binning again.
class CMapCoverage {
public:
    void add(SMapCell cell, const DiagRecord& record);
    int count(SMapCell cell) const { return at(cell).count; }
    // The mean of recording column 1-28 over the cell's samples; nullopt when it has none.
    std::optional<double> mean(SMapCell cell, int column) const;
    int maxCount() const { return m_maxCount; }
    std::size_t total() const { return m_total; }

private:
    struct SCellSums {
        int count = 0;
        DiagRecord sums{};
    };
    const SCellSums& at(SMapCell cell) const { return m_cells[cell.row][cell.column]; }

    std::array<std::array<SCellSums, kMapColumns>, kMapRows> m_cells{};
    int m_maxCount = 0;
    std::size_t m_total = 0;
};

CMapCoverage binRecords(const std::vector<DiagRecord>& records, const CCoverageRule& rule);

} // namespace torva
