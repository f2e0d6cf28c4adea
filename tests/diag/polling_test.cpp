#include "diag/connection_watch.h"
#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"
#include "diag/diag_sample_values.h"
#include "diag/polling_control.h"
#include "link/demo_state.h"
#include "link/frame_codec.h"
#include "link/lpg_device.h"
#include "link/rs_error.h"
#include "platform/thread_manager.h"
#include "support/fake_clock.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <numeric>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace torva;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The controller's side of the live-sample read, safe to drive from the polling thread while
// the test thread changes its script. Each request gets the next scripted answer, then the
// default one.
class CLiveLine : public ISerialIo {
public:
    enum class EAnswer { Sample, WrongCode, Silent, Fault };

    void queue(EAnswer answer, int times = 1) {
        std::lock_guard lock(m_mutex);
        m_script.insert(m_script.end(), times, answer);
    }
    void setDefault(EAnswer answer) {
        std::lock_guard lock(m_mutex);
        m_default = answer;
    }
    void setSamplePayload(Bytes payload) {
        std::lock_guard lock(m_mutex);
        m_payload = std::move(payload);
    }
    void failNextPurge() {
        std::lock_guard lock(m_mutex);
        m_failPurge = true;
    }
    void setCommError(int value) {
        std::lock_guard lock(m_mutex);
        m_commError = value;
    }
    int requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    int purges() const {
        std::lock_guard lock(m_mutex);
        return m_purges;
    }

    std::size_t read(std::uint8_t* buffer, std::size_t count) override {
        std::lock_guard lock(m_mutex);
        if (m_requestWritten) {
            m_requestWritten = false;
            ++m_requests;
            answerRequest();
        }
        const std::size_t take = std::min(count, m_burst.size());
        std::copy_n(m_burst.begin(), take, buffer);
        m_burst.erase(m_burst.begin(), m_burst.begin() + static_cast<std::ptrdiff_t>(take));
        return take;
    }
    std::size_t write(const std::uint8_t*, std::size_t count) override {
        std::lock_guard lock(m_mutex);
        m_requestWritten = true;
        return count;
    }
    void purgeIn() override {
        std::lock_guard lock(m_mutex);
        ++m_purges;
        if (std::exchange(m_failPurge, false))
            throw CRSError(CRSError::kOperationFailed, "CLiveLine::purgeIn() - scripted", __LINE__);
        m_burst.clear();
    }
    int clearCommError() override {
        std::lock_guard lock(m_mutex);
        return m_commError;
    }

private:
    void answerRequest() {
        EAnswer answer = m_default;
        if (!m_script.empty()) {
            answer = m_script.front();
            m_script.pop_front();
        }
        switch (answer) {
        case EAnswer::Sample:
            m_burst = frame::encode(34, 0x2A57, m_payload.data(), m_payload.size(), false);
            break;
        case EAnswer::WrongCode:
            m_burst = frame::encode(3, 0x2A57, m_payload.data(), m_payload.size(), false);
            break;
        case EAnswer::Silent:
            m_burst.clear();
            break;
        case EAnswer::Fault:
            throw CRSError(CRSError::kOperationFailed, "CLiveLine::read() - scripted", __LINE__);
        }
    }

    mutable std::mutex m_mutex;
    std::deque<EAnswer> m_script;
    EAnswer m_default = EAnswer::Silent;
    Bytes m_payload = Bytes(52, 0);
    Bytes m_burst;
    bool m_requestWritten = false;
    bool m_failPurge = false;
    int m_commError = 0;
    int m_requests = 0;
    int m_purges = 0;
};

class CTimerLog : public IRefreshTimer {
public:
    void startRefreshTimer(int periodMs) override { events.push_back(periodMs); }
    void stopRefreshTimer() override { events.push_back(0); }
    std::vector<int> events; // period of each start, 0 for each stop
};

bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A connected device on a scripted line, with its own thread manager and polling control.
struct SPollingRig {
    SPollingRig() {
        auto io = std::make_unique<CLiveLine>();
        line = io.get();
        device = std::make_unique<CLPGDevice>(std::move(io));
        device->setConnected(true);
        control = std::make_unique<CPollingControl>(*device, threads);
        control->setRefreshTimer(&timer);
    }
    ~SPollingRig() { control.reset(); }

    // Waits until the thread has given up by itself and is gone.
    bool waitForThreadEnd() {
        return waitUntil([this] { return !control->isPolling(); }) && threads.waitAll(5000);
    }
    std::vector<DiagSample> storedSamples() const {
        std::vector<DiagSample> samples;
        device->diagData().copyRange(1000, 0, samples);
        return samples;
    }

    test::CFakeClock clock;
    test::CRecordingUi ui;
    CTimerLog timer;
    CThreadManager threads;
    CLiveLine* line = nullptr;
    std::unique_ptr<CLPGDevice> device;
    std::unique_ptr<CPollingControl> control;
};

Bytes countingPayload(std::size_t size) {
    Bytes payload(size);
    std::iota(payload.begin(), payload.end(), std::uint8_t{1});
    return payload;
}

std::string tempFileName(const std::string& stem) {
    return (std::filesystem::temp_directory_path() /
            (stem + "_" + std::to_string(::getpid()) + ".oscd"))
        .string();
}

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

using EReply = CLiveLine::EAnswer;

} // namespace

TEST(Polling, RecordsEveryStoredSampleUntilTheControllerFallsSilent) {
    SPollingRig rig;
    const std::string path = tempFileName("torva_polling_record");
    Bytes payload(52, 0);
    payload[0] = 0xF8; // period 11000
    payload[1] = 0x2A;
    payload[2] = 5;  // gas variant
    payload[30] = 1; // one common-rail count
    rig.line->setSamplePayload(payload);
    rig.line->queue(EReply::Sample, 3);
    rig.line->setDefault(EReply::Silent);

    ASSERT_TRUE(rig.control->startPolling(path));
    EXPECT_EQ(rig.control->recordingFileName(), path);
    ASSERT_TRUE(rig.waitForThreadEnd());
    EXPECT_FALSE(rig.control->isRecording()) << "the file closed with the lost link";

    EXPECT_EQ(rig.line->requests(), 3 + 11);
    EXPECT_FALSE(rig.device->isConnected());
    EXPECT_EQ(rig.device->diagData().count(), 0u) << "cleared when the controller was lost";
    EXPECT_EQ(rig.timer.events, std::vector<int>{CPollingControl::kRefreshPeriodMs});

    DiagSample expected{};
    decodeLiveSample(kCurrentSampleCode, payload.data(), payload.size(), expected);
    const std::vector<std::string> lines = linesOf(path);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& line : lines)
        EXPECT_EQ(line, formatDiagLine(expected, rig.device->config()));
    const auto records = readDiagFile(path);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0][recordIndexOfColumn(1)], 3.0);
    EXPECT_EQ(records[0][recordIndexOfColumn(4)], 1364.0);
    EXPECT_EQ(records[0][recordIndexOfColumn(20)], 0.01);
    std::filesystem::remove(path);
}

TEST(Polling, ElevenConsecutiveFailuresEndPollingWrongCodesNeitherCountNorReset) {
    SPollingRig rig;
    rig.line->queue(EReply::Silent, 10);
    rig.line->queue(EReply::Sample);
    rig.line->queue(EReply::Silent, 10);
    rig.line->queue(EReply::WrongCode, 2);
    rig.line->setDefault(EReply::Silent);

    ASSERT_TRUE(rig.control->startPolling(""));
    ASSERT_TRUE(rig.waitForThreadEnd());
    // Ten failures, a sample, ten more, two skipped answers, and the eleventh failure.
    EXPECT_EQ(rig.line->requests(), 10 + 1 + 10 + 2 + 1);
    EXPECT_FALSE(rig.device->isConnected());
    EXPECT_EQ(rig.device->diagData().count(), 0u);
    EXPECT_TRUE(rig.ui.messages().empty()) << "losing the controller is silent";
}

TEST(Polling, SerialFaultsCountOnlyWhenThePortCannotBeOpenedAgain) {
    // A scripted line has no port to open again, like a pulled adapter.
    SPollingRig rig;
    rig.line->queue(EReply::Fault, 10);
    rig.line->queue(EReply::Sample);
    rig.line->setDefault(EReply::Fault);

    ASSERT_TRUE(rig.control->startPolling(""));
    ASSERT_TRUE(rig.waitForThreadEnd());
    EXPECT_EQ(rig.line->requests(), 10 + 1 + 11);
    EXPECT_FALSE(rig.device->isConnected());
    EXPECT_TRUE(rig.ui.messages().empty());
}

TEST(Polling, StoresTheImageNumberedByTheThreadAfterClearingTheStore) {
    SPollingRig rig;
    DiagSample stale{};
    stale.m_seq = 1000;
    rig.device->diagData().push(stale);
    Bytes payload = countingPayload(60);
    payload[2] = 4; // gas variant
    std::fill(payload.begin() + 52, payload.end(), 0x77);
    rig.line->setSamplePayload(payload);
    rig.line->queue(EReply::Sample, 5);
    rig.line->setDefault(EReply::WrongCode); // keeps polling, stores nothing

    ASSERT_TRUE(rig.control->startPolling(""));
    ASSERT_TRUE(waitUntil([&] { return rig.line->requests() >= 8; }));
    rig.control->stopPolling();
    EXPECT_EQ(rig.threads.runningCount(), 0u) << "stop waits for the thread";
    EXPECT_EQ(rig.timer.events, (std::vector<int>{CPollingControl::kRefreshPeriodMs, 0}));

    const auto samples = rig.storedSamples();
    ASSERT_EQ(samples.size(), 5u);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].m_seq, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(samples[i].m_fuelMode, kFuelModeGas);
        EXPECT_EQ(samples[i].m_ext[7], 51 | 52 << 8);
    }
    EXPECT_TRUE(rig.device->isConnected());
    const int requests = rig.line->requests();
    EXPECT_EQ(rig.device->diagData().count(), samples.size()) << "nothing after the stop";
    EXPECT_EQ(rig.line->requests(), requests);
}

TEST(Polling, AnErrorWhileStartingEndsTheThreadWithAMessageAndClearsTheConnection) {
    // Whether or not the port reports a line error.
    for (const int commError : {0, static_cast<int>(CSerialPort::kFramingError)}) {
        SPollingRig rig;
        rig.device->diagData().push(DiagSample{});
        rig.line->failNextPurge();
        rig.line->setCommError(commError);
        rig.line->setDefault(EReply::Sample);

        ASSERT_TRUE(rig.control->startPolling(""));
        ASSERT_TRUE(rig.waitForThreadEnd());
        EXPECT_EQ(rig.line->requests(), 0);
        EXPECT_EQ(rig.device->diagData().count(), 0u);
        EXPECT_FALSE(rig.device->isConnected());
        const auto shown = rig.ui.messages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "Brak połączenia");
        EXPECT_EQ(shown[0].caption, "TORVA");
    }
}

TEST(Polling, DemoModeProducesTheDemoSampleWithoutTraffic) {
    SPollingRig rig;
    rig.device->startDemo();
    setDemoFuelMode(3);

    ASSERT_TRUE(rig.control->startPolling(""));
    ASSERT_TRUE(waitUntil([&] { return rig.device->diagData().count() >= 3; }));
    rig.control->stopPolling();
    setDemoFuelMode(2);

    const auto samples = rig.storedSamples();
    ASSERT_GE(samples.size(), 3u);
    for (std::size_t i = 1; i < samples.size(); ++i)
        EXPECT_EQ(samples[i].m_seq, samples[i - 1].m_seq + 1) << "the thread's own count";
    const DiagSample& demo = samples.back();
    EXPECT_GT(rpmFromSamplePeriod(demo.m_rpmPeriod), 700);
    EXPECT_EQ(demo.m_fuelMode, 3);
    EXPECT_NEAR(supplyVoltage(demo.m_vccRaw, 25), 27.6, 0.3) << "a 24-volt controller's supply";
    EXPECT_GT(demo.m_gasInjTime, 0) << "on gas the demo car injects gas";
    EXPECT_EQ(rig.line->requests(), 0);
    EXPECT_EQ(rig.line->purges(), 0);
}

TEST(Polling, RestartsNeverLeaveTwoThreadsAndEndTheRecording) {
    SPollingRig rig;
    const std::string path = tempFileName("torva_polling_restart");
    rig.line->setDefault(EReply::Sample);

    ASSERT_TRUE(rig.control->startPolling(path));
    ASSERT_TRUE(waitUntil([&] { return rig.device->diagData().count() >= 2; }));
    ASSERT_TRUE(rig.control->restartPolling());
    EXPECT_LE(rig.threads.runningCount(), 1u);
    ASSERT_TRUE(rig.control->restartPolling());
    EXPECT_LE(rig.threads.runningCount(), 1u);
    EXPECT_TRUE(rig.control->recordingFileName().empty());

    const auto recorded = linesOf(path).size();
    EXPECT_GE(recorded, 2u);
    rig.device->diagData().clear();
    ASSERT_TRUE(waitUntil([&] { return rig.device->diagData().count() >= 3; }));
    EXPECT_EQ(linesOf(path).size(), recorded) << "the restart closed the recording";
    rig.control->stopPolling();
    std::filesystem::remove(path);
}

TEST(Polling, AnEarlierThreadThatDoesNotEndLeavesTheLinkLostAndWatched) {
    class CStuckThread : public CSThread {
    public:
        explicit CStuckThread(std::atomic<bool>& release) : m_release(release) {}
        void run() override {
            waitUntil([this] { return m_release.load(); }, 60000);
        }
        std::atomic<bool>& m_release;
    };
    SPollingRig rig;
    std::atomic<bool> release{false};
    rig.threads.insert(std::make_unique<CStuckThread>(release));

    EXPECT_FALSE(rig.control->startPolling(""));
    EXPECT_FALSE(rig.device->isConnected());
    EXPECT_EQ(rig.timer.events, std::vector<int>{CPollingControl::kRefreshPeriodMs});
    release.store(true);
}

TEST(Polling, WithoutLiveDiagnosticsNothingStarts) {
    SPollingRig rig;
    rig.device->setLiveDiagnostics(false);
    EXPECT_FALSE(rig.control->startPolling(""));
    EXPECT_FALSE(rig.control->isPolling());
    EXPECT_EQ(rig.threads.runningCount(), 0u);
    EXPECT_EQ(rig.timer.events, std::vector<int>{0});
}

TEST(Polling, TheWatchReconnectsOnTheEleventhTickAndPollingResumes) {
    SPollingRig rig;
    rig.line->queue(EReply::Sample, 2);
    rig.line->setDefault(EReply::Silent);
    std::vector<bool> shown;
    int reconnects = 0;
    int refreshes = 0;
    CConnectionWatch watch(*rig.device,
                           {.showConnectionState = [&](bool on) { shown.push_back(on); },
                            .reconnect =
                                [&] {
                                    ++reconnects;
                                    rig.line->setDefault(EReply::Sample);
                                    rig.device->setConnected(true);
                                    return true;
                                },
                            .restartPolling = [&] { rig.control->restartPolling(); },
                            .refreshPages = [&] { ++refreshes; }});

    ASSERT_TRUE(rig.control->startPolling("\\"));
    ASSERT_TRUE(rig.waitForThreadEnd());
    watch.tick(); // sees the loss
    EXPECT_EQ(shown, std::vector<bool>{false});
    for (int tick = 1; tick <= 10; ++tick)
        watch.tick();
    EXPECT_EQ(reconnects, 0);
    EXPECT_EQ(refreshes, 0) << "the store was cleared with the loss";
    watch.tick();
    EXPECT_EQ(reconnects, 1);
    EXPECT_EQ(shown, (std::vector<bool>{false, true}));
    EXPECT_TRUE(rig.control->isPolling());
    ASSERT_TRUE(waitUntil([&] { return rig.device->diagData().count() >= 1; }));
    watch.tick();
    EXPECT_TRUE(watch.wasConnected());
    EXPECT_EQ(refreshes, 1);
    rig.control->stopPolling();
}

TEST(Polling, RecordingLinesSeeWholeEditsOfTheConfigurationMadeMeanwhile) {
    SPollingRig rig;
    const std::string path = tempFileName("torva_polling_locked_edits");
    Bytes payload(52, 0);
    payload[4] = 100; // reducer temperature code
    payload[5] = 100; // gas temperature code
    rig.line->setSamplePayload(payload);
    rig.line->setDefault(EReply::Sample);
    const auto setSensors = [](CDeviceConfig& config, std::uint8_t type) {
        config.m_sensorsSetup.m_temprEngineSensor = type;
        config.m_sensorsSetup.m_temprLPGSensor = type;
    };
    DiagSample sample{};
    decodeLiveSample(kCurrentSampleCode, payload.data(), payload.size(), sample);
    CDeviceConfig first = rig.device->config();
    setSensors(first, 0);
    CDeviceConfig second = first;
    setSensors(second, 1);
    const std::string firstLine = formatDiagLine(sample, first);
    const std::string secondLine = formatDiagLine(sample, second);
    ASSERT_NE(firstLine, secondLine);

    rig.device->withConfig([&](CDeviceConfig& config) { setSensors(config, 0); });
    ASSERT_TRUE(rig.control->startPolling(path));
    // The window's thread edits both sensor types together while lines are being written.
    for (int edit = 0; edit < 1000000 && (edit < 2000 || rig.device->diagData().count() < 50);
         ++edit)
        rig.device->withConfig([&](CDeviceConfig& config) { setSensors(config, edit % 2); });
    rig.control->stopPolling();
    ASSERT_TRUE(rig.threads.waitAll(5000));

    const std::vector<std::string> lines = linesOf(path);
    ASSERT_GE(lines.size(), 50u);
    for (const std::string& line : lines)
        ASSERT_TRUE(line == firstLine || line == secondLine) << line;
    std::filesystem::remove(path);
}
