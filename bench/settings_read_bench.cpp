// Reading a complete settings file (2,568 keys) with every value checked against its field, as
// each load, restore, partial apply and the backups dialog's selection does; and the check alone
// on a record whose every map cell lies between two wire units (the slow path of the check).
// The aim for a whole read is under 20 ms, so selecting a backup stays instant.
#include "config/device_type.h"
#include "config/settings_io.h"
#include "config/value_check.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

using namespace torva;

namespace {

CDeviceConfig offGridRecord() {
    CDeviceConfig record(kDeviceType25);
    record.m_timeStamp = "07-03-2014-15:04:09";
    record.m_devInfo.m_deviceID = kDeviceType25;
    record.m_base.m_switchRPM = 1234;
    for (MapValues* map : {&record.m_mapTimeEmu1, &record.m_mapTimeEmu2, &record.m_mapTimeEmu3,
                           &record.m_mapTimeEmu4, &record.m_mapTimeEmuTpsD}) {
        for (int row = 0; row < kMapRows; ++row)
            for (int column = 0; column < kMapColumns; ++column)
                (*map)[row][column] = (row * kMapColumns + column) % 250 / 10.0 + 0.05;
    }
    return record;
}

void BM_ReadSettingsFile(benchmark::State& state) {
    const std::string path = "/tmp/settings_read_bench_" + std::to_string(getpid()) + ".dsettings";
    writeSettings(path, offGridRecord());
    for (auto _ : state) {
        CDeviceConfig destination(kDeviceType25);
        benchmark::DoNotOptimize(
            readSettings(path, destination, SLoadTarget(kDeviceType25, 0x12F)));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadSettingsFile)->Unit(benchmark::kMillisecond);

void BM_CheckRecordValues(benchmark::State& state) {
    const CDeviceConfig record = offGridRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(checkRecordValues(record));
}
BENCHMARK(BM_CheckRecordValues)->Unit(benchmark::kMillisecond);

} // namespace
