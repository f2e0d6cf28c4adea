#include "ui/pages/charts/chart_sources.h"

#include "config/data_folders.h"
#include "diag/diag_sample_values.h"

#include <cstdio>

namespace torva {

double liveColumnValue(const SLiveValues& values, int column) {
    constexpr int kFirstSignalColumn = 11;
    constexpr int kFirstExtColumn = 21;
    if (column >= kFirstSignalColumn && column < kFirstSignalColumn + kSignalCount) {
        return values.signal[static_cast<std::size_t>(column - kFirstSignalColumn)];
    }
    if (column >= kFirstExtColumn && column < kFirstExtColumn + kExtCount) {
        return values.ext[static_cast<std::size_t>(column - kFirstExtColumn)];
    }
    switch (column) {
    case 1:
        return values.fuelMode;
    case 2:
        return values.switchState;
    case 3:
        return values.statusFlags;
    case 4:
        return values.engineSpeed;
    case 5:
        return values.gasInjTimeMs;
    case 6:
        return values.pressureKPa;
    case 7:
        return values.vacuumKPa;
    case 8:
        return values.gasTemperature;
    case 9:
        return values.reducerTemperature;
    case 10:
        return values.supplyVolts;
    case 19:
        return values.exhaustTemperature;
    case 20:
        return values.crInjTimeMs;
    default:
        return 0.0;
    }
}

double recordColumnValue(const DiagRecord& record, int column) {
    if (column < 1 || column > kDiagColumns) {
        return 0.0;
    }
    return record[static_cast<std::size_t>(recordIndexOfColumn(column))];
}

void plotRecording(CScrollChartModel& chart, CChartFeed& feed,
                   const std::vector<DiagRecord>& records) {
    feed.showRecording(chart);
    for (const DiagRecord& record : records) {
        feed.addRecordPoint(chart,
                            [&record](int column) { return recordColumnValue(record, column); });
    }
}

SFileChoice recordingFileChoice(bool save) {
    SFileChoice choice;
    choice.save = save;
    choice.folder = diagnosticFolder();
    choice.defaultExtension = "oscd";
    choice.filter = "Diagnostic file (*.oscd)|*.oscd|";
    return choice;
}

std::string SOpenedRecording::durationText() const {
    const long long seconds =
        static_cast<long long>(records) * kNominalLineMs / 1000; // whole seconds
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

SOpenedRecording openedRecording(const std::string& path, std::size_t records) {
    const std::size_t slash = path.find_last_of("/\\");
    return {slash == std::string::npos ? path : path.substr(slash + 1), records};
}

} // namespace torva
