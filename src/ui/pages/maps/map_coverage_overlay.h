#pragma once

#include "diag/map_coverage.h"
#include "ui/controls/cell_overlay.h"

#include <vector>

namespace torva {

// What the coverage layer over a map grid can show: the sample count of each cell (shade only,
// the count on hover), or the mean of one recording column per cell.
struct SCoverageChoice {
    const char* text; // Polish source text
    int column;       // recording column 1-28; kCoverageCounts for the counts
    int decimals;     // as the recording writes the column
};
constexpr int kCoverageCounts = 0;
// Counts first, then the columns a fitter tunes by.
const std::vector<SCoverageChoice>& coverageChoices();

// 0 for one sample, 1 for the busiest cell, on a log scale, so that the cells a drive only
// passed through stay apart from those it never reached; negative for no sample.
double coverageShade(int count, int maxCount);

// The layer's cells for coverage: every cell shaded by its count; with a mean column the cell
// shows the mean ("-" without samples). The hover text names the samples and the mean.
CCellOverlay coverageOverlay(const CMapCoverage& coverage, int meanColumn);

} // namespace torva
