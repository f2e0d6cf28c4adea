#include "diag/connection_watch.h"
#include "link/lpg_device.h"
#include "support/scripted_serial.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace torva;

namespace {

struct SWatchRig {
    SWatchRig()
        : device(std::make_unique<test::CScriptedSerial>()),
          watch(device, {.showConnectionState =
                             [this](bool on) { log.push_back(on ? "connected" : "lost"); },
                         .reconnect =
                             [this] {
                                 log.push_back("reconnect");
                                 device.setConnected(reconnectSucceeds);
                                 return reconnectSucceeds;
                             },
                         .restartPolling = [this] { log.push_back("restart"); },
                         .refreshPages = [this] { log.push_back("refresh"); }}) {
        device.setConnected(true);
    }

    std::vector<std::string> ticks(int count) {
        log.clear();
        for (int i = 0; i < count; ++i)
            watch.tick();
        return log;
    }

    CLPGDevice device;
    CConnectionWatch watch;
    std::vector<std::string> log;
    bool reconnectSucceeds = false;
};

using Log = std::vector<std::string>;

} // namespace

TEST(ConnectionWatch, TriesToReconnectOnEveryEleventhTickWhileLost) {
    SWatchRig rig;
    EXPECT_EQ(rig.ticks(3), Log{});
    rig.device.setConnected(false);
    EXPECT_EQ(rig.ticks(1), Log{"lost"});
    EXPECT_EQ(rig.watch.countdown(), CConnectionWatch::kRetryCountdown);
    EXPECT_EQ(rig.ticks(10), Log{});
    EXPECT_EQ(rig.ticks(1), Log{"reconnect"});
    EXPECT_EQ(rig.ticks(10), Log{});
    EXPECT_EQ(rig.ticks(1), Log{"reconnect"});

    rig.reconnectSucceeds = true;
    EXPECT_EQ(rig.ticks(11), (Log{"reconnect", "connected", "restart"}));
    EXPECT_FALSE(rig.watch.wasConnected());
    EXPECT_EQ(rig.ticks(1), Log{"connected"}); // the next tick takes the state over
    EXPECT_TRUE(rig.watch.wasConnected());
    EXPECT_EQ(rig.ticks(2), Log{});
}

TEST(ConnectionWatch, RefreshesPagesWhileSamplesAreStoredExceptOnTheTickThatSeesTheLoss) {
    SWatchRig rig;
    rig.device.diagData().push(DiagSample{});
    EXPECT_EQ(rig.ticks(2), (Log{"refresh", "refresh"}));
    rig.device.setConnected(false);
    EXPECT_EQ(rig.ticks(2), (Log{"lost", "refresh"}));
    rig.device.setConnected(true); // someone else reconnected
    EXPECT_EQ(rig.ticks(1), (Log{"connected", "refresh"}));
    rig.device.diagData().clear();
    EXPECT_EQ(rig.ticks(1), Log{});
}
