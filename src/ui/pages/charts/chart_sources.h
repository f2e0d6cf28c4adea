#pragma once

#include "diag/diag_file_reader.h"
#include "platform/user_interface.h"
#include "ui/pages/charts/chart_channels.h"

#include <cstddef>
#include <string>
#include <vector>

namespace torva {

struct SLiveValues;

// The recording columns (1…28) of a live sample's converted values, unrounded.
double liveColumnValue(const SLiveValues& values, int column);
// The recording columns of a record read back from a file.
double recordColumnValue(const DiagRecord& record, int column);

// Shows the records of a recording in place of whatever the chart held: cleared chart, read-out
// on, one point per channel and record, 6 x units apart.
void plotRecording(CScrollChartModel& chart, CChartFeed& feed,
                   const std::vector<DiagRecord>& records);

// The file dialog of the record (save) and open actions: the diagnostic folder, "oscd" files.
SFileChoice recordingFileChoice(bool save);

// What the page shows about an opened recording. The file holds no times, so its duration is
// estimated from the polling cycle (a 100 ms pause and one exchange per line).
struct SOpenedRecording {
    static constexpr int kNominalLineMs = 125;

    std::string fileName; // without the folder
    std::size_t records = 0;

    // "m:ss" or "h:mm:ss".
    std::string durationText() const;
};

SOpenedRecording openedRecording(const std::string& path, std::size_t records);

} // namespace torva
