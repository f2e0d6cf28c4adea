// Comparing two whole configurations (2,568 settings keys): the comparison alone, with the
// controller's record taken as a snapshot, and with a settings file read from disk. The aim for
// the whole comparison is under 5 ms.
#include "config/config_compare.h"
#include "config/device_type.h"
#include "config/settings_io.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

using namespace torva;

namespace {

// A record with a difference in every settings group and in one map cell.
CDeviceConfig changedRecord() {
    CDeviceConfig record(kDeviceType25);
    record.m_devInfo.m_deviceID = kDeviceType25;
    record.m_base.m_switchRPM += 100;
    record.m_adv.m_pwm += 1;
    record.m_sensorsSetup.m_fuelHalf += 1;
    record.m_serviceSetup.m_maxRpm += 100;
    record.m_tempomatSetup.m_detectTime += 1;
    record.m_mapEmu3[12][7] += 5;
    return record;
}

void BM_CompareSnapshots(benchmark::State& state) {
    const SConfigSnapshot first = snapshotOf(CDeviceConfig(kDeviceType25));
    const SConfigSnapshot second = snapshotOf(changedRecord());
    for (auto _ : state)
        benchmark::DoNotOptimize(compareConfigurations(first, second));
}
BENCHMARK(BM_CompareSnapshots)->Unit(benchmark::kMillisecond);

void BM_CompareRecords(benchmark::State& state) {
    const CDeviceConfig live(kDeviceType25);
    const CDeviceConfig other = changedRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(compareConfigurations(snapshotOf(live), snapshotOf(other)));
}
BENCHMARK(BM_CompareRecords)->Unit(benchmark::kMillisecond);

void BM_CompareRecordWithFile(benchmark::State& state) {
    const std::string path = "/tmp/config_compare_bench_" + std::to_string(getpid()) + ".dsettings";
    writeSettings(path, changedRecord());
    CDeviceConfig live(kDeviceType25);
    live.m_devInfo.m_deviceID = kDeviceType25;
    std::string failure;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            compareConfigurations(snapshotOf(live), *snapshotOfFile(path, failure)));
    std::remove(path.c_str());
}
BENCHMARK(BM_CompareRecordWithFile)->Unit(benchmark::kMillisecond);

} // namespace
