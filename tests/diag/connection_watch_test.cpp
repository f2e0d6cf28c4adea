#include "diag/connection_watch.h"
#include "link/lpg_device.h"
#include "support/scripted_serial.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace torva;

namespace {

// What one reconnection attempt comes to.
enum class EOutcome { NoAnswer, Back, BackButPollingFails };

struct SWatchRig {
    SWatchRig()
        : device(std::make_unique<test::CScriptedSerial>()),
          watch(device, {.showConnectionState =
                             [this](bool on) {
                                 // The caption may say connected only while the flag says so.
                                 EXPECT_EQ(on, device.isConnected());
                                 log.push_back(on ? "connected" : "lost");
                             },
                         .reconnect =
                             [this](bool) {
                                 log.push_back("reconnect");
                                 outcome = outcomes.empty() ? EOutcome::NoAnswer : outcomes.front();
                                 if (!outcomes.empty())
                                     outcomes.pop_front();
                                 // The read overwrites the record, answer or not.
                                 device.config().m_devInfo.m_serial = "READ";
                                 device.setConnected(outcome != EOutcome::NoAnswer);
                                 return device.isConnected();
                             },
                         .restartPolling =
                             [this] {
                                 log.push_back("restart");
                                 if (outcome == EOutcome::BackButPollingFails)
                                     device.setConnected(false);
                             },
                         .stopPolling = [this] { log.push_back("stop"); },
                         .reconnected =
                             [this](EControllerChange change) {
                                 EXPECT_TRUE(device.isConnected());
                                 changes.push_back(change);
                                 log.push_back("connected");
                             },
                         .refreshPages = [this] { ++refreshes; }}) {
        device.config().m_devInfo.m_serial = "SHOWN";
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
    std::deque<EOutcome> outcomes;
    EOutcome outcome = EOutcome::NoAnswer;
    std::vector<EControllerChange> changes;
    int refreshes = 0;
};

using Log = std::vector<std::string>;
constexpr int kCycle = CConnectionWatch::kRetryCountdown + 1;

} // namespace

TEST(ConnectionWatch, TriesToReconnectOnEveryEleventhTickWhileLost) {
    SWatchRig rig;
    EXPECT_EQ(rig.ticks(3), Log{});
    rig.device.setConnected(false);
    EXPECT_EQ(rig.ticks(1), Log{"lost"});
    EXPECT_EQ(rig.ticks(10), Log{});
    EXPECT_EQ(rig.ticks(1), Log{"reconnect"});
    EXPECT_EQ(rig.ticks(kCycle), (Log{"reconnect"}));

    rig.outcomes = {EOutcome::Back};
    // The caption says connected only once polling runs again.
    EXPECT_EQ(rig.ticks(kCycle), (Log{"reconnect", "restart", "connected"}));
    EXPECT_TRUE(rig.watch.wasConnected());
    EXPECT_EQ(rig.ticks(5), Log{});
    // Every tick refreshes the pages, samples or not, so a lost link shows at once.
    EXPECT_EQ(rig.refreshes, 3 + 1 + 10 + 1 + 2 * kCycle + 5);
}

// A failed polling start after a good reconnection must neither leave the window saying
// "connected" nor stop the retries, whichever failure comes first.
TEST(ConnectionWatch, StaysArmedWhenPollingCannotStartInEitherOrderOfFailure) {
    for (const bool pollingFailsFirst : {true, false}) {
        SWatchRig rig;
        rig.device.setConnected(false);
        rig.ticks(1);
        rig.outcomes = pollingFailsFirst
                           ? std::deque{EOutcome::BackButPollingFails, EOutcome::NoAnswer}
                           : std::deque{EOutcome::NoAnswer, EOutcome::BackButPollingFails};
        rig.outcomes.push_back(EOutcome::Back);
        const Log pollingFails{"reconnect", "restart"};
        const Log noAnswer{"reconnect"};
        EXPECT_EQ(rig.ticks(kCycle), pollingFailsFirst ? pollingFails : noAnswer);
        EXPECT_FALSE(rig.device.isConnected());
        EXPECT_EQ(rig.ticks(kCycle), pollingFailsFirst ? noAnswer : pollingFails);
        EXPECT_FALSE(rig.watch.wasConnected());
        EXPECT_EQ(rig.ticks(kCycle), (Log{"reconnect", "restart", "connected"}));
        EXPECT_TRUE(rig.device.isConnected());
    }
}

TEST(ConnectionWatch, AFailedAttemptLeavesTheRecordThePagesShow) {
    SWatchRig rig;
    rig.device.setConnected(false);
    rig.outcomes = {EOutcome::BackButPollingFails, EOutcome::Back};
    rig.ticks(1 + kCycle);
    EXPECT_EQ(rig.device.config().m_devInfo.m_serial, "SHOWN");
    // So the attempt that gets through still sees that another controller answered.
    rig.ticks(kCycle);
    EXPECT_EQ(rig.changes, std::vector{EControllerChange::Controller});
}

TEST(ConnectionWatch, ConnectNowLetsAConnectedControllerGoAndTriesAtOnce) {
    SWatchRig rig;
    rig.outcomes = {EOutcome::NoAnswer};
    rig.watch.reconnectNow();
    EXPECT_EQ(rig.log, (Log{"stop", "lost", "reconnect"}));
    EXPECT_FALSE(rig.device.isConnected());
    // The periodic retries go on from there.
    EXPECT_EQ(rig.ticks(kCycle), Log{"reconnect"});
}
