// Reading back a one-hour recording: ten lines a second, 36,000 lines; and binning it onto a
// channel's grid, the file read included (aim: under 60 ms).
#include "config/device_config.h"
#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"
#include "diag/map_coverage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace torva;

namespace {

constexpr int kOneHourLines = 36000;

std::string oneHourRecording() {
    CDeviceConfig config;
    config.m_devInfo.m_version = 0x012F;
    config.m_devInfo.m_deviceID = 25;
    std::string text;
    for (int i = 0; i < kOneHourLines; ++i) {
        DiagSample sample{};
        sample.m_rpmPeriod = static_cast<std::uint16_t>(8000 + (i % 4000));
        sample.m_fuelMode = static_cast<std::uint8_t>(2 + i % 2);
        sample.m_temprEngineRaw = static_cast<std::uint8_t>(i % 256);
        sample.m_vccRaw = 122;
        sample.m_pressureRaw = static_cast<std::uint8_t>(100 + i % 50);
        for (int s = 0; s < 8; ++s)
            sample.m_signal[s] = static_cast<std::uint16_t>(200 + 100 * s + i % 7);
        sample.m_exhaustTempr = static_cast<std::uint16_t>(300 + i % 200);
        sample.m_gasInjTime = static_cast<std::uint16_t>(1000 + i % 900);
        text += formatDiagLine(sample, config);
    }
    return text;
}

// The recording in a file of its own for as long as the benchmark runs.
class CRecordingFile {
public:
    CRecordingFile()
        : m_path((std::filesystem::temp_directory_path() /
                  ("torva_bench_" + std::to_string(::getpid()) + ".oscd"))
                     .string()) {
        std::ofstream(m_path, std::ios::binary) << oneHourRecording();
    }
    ~CRecordingFile() { std::filesystem::remove(m_path); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

void BM_ReadOneHourRecording(benchmark::State& state) {
    const CRecordingFile file;
    std::size_t records = 0;
    for (auto _ : state) {
        const auto read = readDiagFile(file.path());
        records = read.size();
        benchmark::DoNotOptimize(read.data());
    }
    if (records != kOneHourLines)
        state.SkipWithError("the recording did not read back whole");
    state.counters["lines"] = static_cast<double>(records);
}
BENCHMARK(BM_ReadOneHourRecording)->Unit(benchmark::kMillisecond);

void BM_BinOneHourRecording(benchmark::State& state) {
    const CRecordingFile file;
    CDeviceConfig config;
    for (int c = 0; c < kMapColumns; ++c)
        config.m_mapRpmCoordinatesEmu1[c] = 1000 + 100 * c;
    const CCoverageRule rule(config, 1);
    std::size_t binned = 0;
    for (auto _ : state) {
        const CMapCoverage coverage = binRecords(readDiagFile(file.path()), rule);
        binned = coverage.total();
        benchmark::DoNotOptimize(coverage.maxCount());
    }
    if (binned != kOneHourLines)
        state.SkipWithError("not every line was binned");
}
BENCHMARK(BM_BinOneHourRecording)->Unit(benchmark::kMillisecond);

} // namespace
