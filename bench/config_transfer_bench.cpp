// The whole-configuration read and firmware programming against the simulated controller over a
// pseudo-terminal, the simulator holding both directions to 38400 baud. Each operation is set
// against the wire time of the bytes it exchanged (10 bits a byte): a ratio near 1 means the
// link code adds next to nothing to what the line itself takes.
#include "config/firmware_target.h"
#include "link/lpg_device.h"
#include "link/serial_port.h"
#include "link/serial_settings.h"
#include "platform/clock.h"
#include "sim/simulator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace torva;

namespace {

constexpr double kBitsPerByte = 10;
constexpr double kBaud = 38400;
// After the loader has identified itself it needs a second before the first erase; the
// programming sequence waits it out, so it belongs to the protocol, not to the link.
constexpr int kLoaderSettleMs = 1000;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The real serial port, counting every byte that crosses it in either direction.
class CCountingPort : public ISerialIo {
public:
    explicit CCountingPort(const std::string& path) {
        m_port.open(path);
        m_port.setState(kControllerLine);
        m_port.setTimeout(kControllerTimeouts);
    }

    std::size_t read(std::uint8_t* buffer, std::size_t count) override {
        const std::size_t got = m_port.read(buffer, count);
        m_received += got;
        return got;
    }
    std::size_t write(const std::uint8_t* buffer, std::size_t count) override {
        const std::size_t put = m_port.write(buffer, count);
        m_sent += put;
        return put;
    }
    void purgeIn() override { m_port.purgeIn(); }
    int clearCommError() override { return m_port.clearCommError(); }

    std::size_t bytes() const { return m_sent + m_received; }
    void resetCounts() { m_sent = m_received = 0; }

private:
    CSerialPort m_port;
    std::size_t m_sent = 0;
    std::size_t m_received = 0;
};

// The system clock, adding up how long the link code slept (pauses after failed exchanges show
// up here).
class CSleepCountingClock : public IClock {
public:
    CSleepCountingClock() { setAppClock(this); }
    ~CSleepCountingClock() override { setAppClock(nullptr); }
    CSleepCountingClock(const CSleepCountingClock&) = delete;
    CSleepCountingClock& operator=(const CSleepCountingClock&) = delete;

    std::int64_t nowMs() override { return m_system.nowMs(); }
    void sleepMs(int ms) override {
        const auto start = Clock::now();
        m_system.sleepMs(ms);
        m_sleptMs += msSince(start);
    }
    double sleptMs() const { return m_sleptMs; }
    void reset() { m_sleptMs = 0; }

private:
    CSystemClock m_system;
    double m_sleptMs = 0;
};

// A simulated model-25 controller paced at 38400 baud and a device talking to it.
struct SBench {
    sim::CSimulator simulator{[] {
        sim::SimConfig config;
        config.controller.identity.modelCode = 25;
        config.pace = true;
        return config;
    }()};
    CCountingPort* port = nullptr;
    std::unique_ptr<CLPGDevice> device;

    SBench() {
        simulator.start();
        auto counting = std::make_unique<CCountingPort>(simulator.devicePath());
        port = counting.get();
        device = std::make_unique<CLPGDevice>(std::move(counting));
    }
};

std::size_t requestsSeen(sim::CSimulator& simulator) {
    std::size_t requests = 0;
    for (const sim::TranscriptEntry& entry : simulator.transcript().entries())
        requests += entry.direction == sim::Direction::Request ? 1 : 0;
    return requests;
}

void report(benchmark::State& state, const char* operation, double elapsedMs, double excludedMs,
            std::size_t bytes, std::size_t exchanges, double linkSleepMs) {
    const double wireMs = static_cast<double>(bytes) * kBitsPerByte / kBaud * 1000;
    const double measuredMs = elapsedMs - excludedMs;
    const double ratio = measuredMs / wireMs;
    const double overheadMs = (measuredMs - wireMs) / static_cast<double>(exchanges);
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["overhead_per_exchange_ms"] = overheadMs;
    state.counters["wire_ms"] = wireMs;
    state.counters["elapsed_ms"] = elapsedMs;
    state.counters["excluded_ms"] = excludedMs;
    state.counters["link_sleep_ms"] = linkSleepMs;
    state.counters["ratio"] = ratio;
    std::printf("%s: %zu bytes, elapsed %.1f ms", operation, bytes, elapsedMs);
    if (excludedMs > 0)
        std::printf(" (%.1f ms of fixed protocol waits excluded)", excludedMs);
    std::printf(", wire time %.1f ms, ratio %.3f; %zu exchanges, %.2f ms beyond the wire each",
                wireMs, ratio, exchanges, overheadMs);
    if (linkSleepMs > 0)
        std::printf(", %.1f ms of it asleep in the link", linkSleepMs);
    std::printf("\n");
}

void BM_ReadWholeConfiguration(benchmark::State& state) {
    CSleepCountingClock clock;
    SBench bench;
    for (auto _ : state) {
        bench.port->resetCounts();
        bench.simulator.transcript().clear();
        clock.reset();
        const auto start = Clock::now();
        const bool read = bench.device->readConfiguration();
        const double elapsedMs = msSince(start);
        state.SetIterationTime(elapsedMs / 1000);
        if (!read) {
            state.SkipWithError("the configuration read failed");
            return;
        }
        report(state, "whole-configuration read", elapsedMs, 0, bench.port->bytes(),
               requestsSeen(bench.simulator), clock.sleptMs());
    }
}
BENCHMARK(BM_ReadWholeConfiguration)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole program area of a model-25 controller: frames up to its flash end.
std::vector<std::uint8_t> fullImage(const SFirmwareTarget& target) {
    std::vector<std::uint8_t> image(std::size_t{target.flashEnd} * 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = i % 4 == 3 ? 0 : static_cast<std::uint8_t>(i * 7 + 1);
    return image;
}

// The document's programming sequence as a controller with a valid application goes through it.
void BM_ProgramFirmware(benchmark::State& state) {
    CSleepCountingClock clock;
    SBench bench;
    const SFirmwareTarget target = *firmwareTarget(25);
    const std::vector<std::uint8_t> image = fullImage(target);
    const int frames = static_cast<int>((image.size() + 255) / 256);
    for (auto _ : state) {
        bench.port->resetCounts();
        bench.simulator.transcript().clear();
        clock.reset();
        const auto start = Clock::now();
        bench.device->sendAccessCode();
        const bool inLoader = bench.device->queryLoaderIdentity(target.loaderSubCode).answer ==
                              CLPGDevice::ELoaderAnswer::Accepted;
        const double sleptBefore = clock.sleptMs();
        appClock().sleepMs(kLoaderSettleMs);
        const double settleMs = clock.sleptMs() - sleptBefore;
        const bool programmed = inLoader &&
                                bench.device->programImage(target.flashEnd, target.eraseBlock,
                                                           image, frames, nullptr) &&
                                bench.device->leaveLoader() &&
                                bench.device->resetAfterProgramming();
        const double elapsedMs = msSince(start);
        state.SetIterationTime(elapsedMs / 1000);
        if (!programmed) {
            state.SkipWithError("the programming sequence failed");
            return;
        }
        report(state, "firmware programming", elapsedMs, settleMs, bench.port->bytes(),
               requestsSeen(bench.simulator), clock.sleptMs() - settleMs);
    }
}
BENCHMARK(BM_ProgramFirmware)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
