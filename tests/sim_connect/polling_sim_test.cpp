// The polling thread against the simulator: dropped answers, a pulled cable, and the window's
// watch finding the controller again.
#include "fixture/sim_fixture.h"

#include "config/process_state_guard.h"
#include "diag/connection_watch.h"
#include "diag/polling_control.h"
#include "link/demo_state.h"
#include "link/identification_notice.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "platform/thread_manager.h"
#include "support/recording_ui.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace torva;
using sim::FaultKind;

namespace {

// Polls condition in real time until it holds or timeoutMs passed.
bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class PollingAgainstSimulator : public test::CSimFixture {
protected:
    void SetUp() override {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
        m_settings = std::filesystem::temp_directory_path() /
                     ("torva_polling_" + std::to_string(::getpid()) + ".settings");
    }
    void TearDown() override {
        CSimFixture::TearDown();
        std::filesystem::remove(m_settings);
    }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
    std::filesystem::path m_settings;
};

TEST_F(PollingAgainstSimulator, SurvivesDroppedAnswersAndReconnectsAfterAPulledCable) {
    startSim({}, false);
    CThreadManager threads;
    CLPGDevice device;
    device.setSettingsPath(m_settings.string());
    device.setPortDiscovery({.presentPorts = [] { return std::vector<int>{}; }, .pathForPort = {}});
    std::string why;
    ASSERT_TRUE(device.connect(devicePath(), &why)) << why;
    // Every lost answer costs a whole read time-out; a short one keeps the many losses quick.
    device.serialPort()->setTimeout({.readTotalConstantMs = 150,
                                     .readTotalPerByteMs = 1,
                                     .writeTotalConstantMs = 150,
                                     .writeTotalPerByteMs = 1});

    {
        CPollingControl polling(device, threads);
        ASSERT_TRUE(polling.startPolling(std::string()));
        ASSERT_TRUE(waitFor([&] { return device.diagData().count() >= 3; }, 5000));

        // Ten lost answers in a row are tolerated.
        sim().injectNext(FaultKind::Drop, 10);
        const std::size_t before = sim().transcript().countRequests(2);
        ASSERT_TRUE(
            waitFor([&] { return sim().transcript().countRequests(2) >= before + 12; }, 30000));
        EXPECT_TRUE(device.isConnected());
        EXPECT_TRUE(polling.isPolling());

        // The cable is pulled: the eleventh failure ends polling and clears the connected flag.
        sim().setSilent(true);
        ASSERT_TRUE(waitFor([&] { return !device.isConnected(); }, 30000));
        EXPECT_TRUE(waitFor([&] { return !polling.isPolling(); }, 5000));
        EXPECT_EQ(device.diagData().count(), 0u);

        // The window's watch: one tick notices, the eleventh after it reconnects.
        sim().setSilent(false);
        std::vector<bool> shown;
        int restarts = 0;
        std::vector<EControllerChange> changes;
        CConnectionWatch watch(device,
                               {
                                   .showConnectionState = [&](bool c) { shown.push_back(c); },
                                   .reconnect = [&](bool) { return device.findController(); },
                                   .restartPolling =
                                       [&] {
                                           ++restarts;
                                           polling.restartPolling();
                                       },
                                   .stopPolling = [&] { polling.stopPolling(); },
                                   .reconnected =
                                       [&](EControllerChange change) {
                                           shown.push_back(true);
                                           changes.push_back(change);
                                       },
                                   .refreshPages = [] {},
                               });
        for (int tick = 0; tick <= CConnectionWatch::kRetryCountdown + 1; ++tick)
            watch.tick();
        EXPECT_EQ(shown, (std::vector<bool>{false, true}));
        EXPECT_EQ(restarts, 1);
        // The same controller came back: its pages may stay.
        EXPECT_EQ(changes, std::vector{EControllerChange::None});
        EXPECT_TRUE(device.isConnected());
        EXPECT_TRUE(waitFor([&] { return device.diagData().count() >= 3; }, 5000));
        polling.stopPolling();
    }
    EXPECT_TRUE(threads.waitAll(5000));
}

} // namespace
