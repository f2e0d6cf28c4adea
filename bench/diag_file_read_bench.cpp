// Reading back a one-hour recording: ten lines a second, 36,000 lines.
#include "config/device_config.h"
#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"

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

void BM_ReadOneHourRecording(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("torva_bench_" + std::to_string(::getpid()) + ".oscd"))
                                 .string();
    std::ofstream(path, std::ios::binary) << oneHourRecording();
    std::size_t records = 0;
    for (auto _ : state) {
        const auto read = readDiagFile(path);
        records = read.size();
        benchmark::DoNotOptimize(read.data());
    }
    std::filesystem::remove(path);
    if (records != kOneHourLines)
        state.SkipWithError("the recording did not read back whole");
    state.counters["lines"] = static_cast<double>(records);
}
BENCHMARK(BM_ReadOneHourRecording)->Unit(benchmark::kMillisecond);

} // namespace
