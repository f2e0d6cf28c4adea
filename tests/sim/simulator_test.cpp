#include "fixture/sim_fixture.h"

#include "link/frame_codec.h"

#include <chrono>
#include <filesystem>
#include <thread>

using namespace torva;
using namespace torva::sim;
using torva::test::CSimClient;

namespace {

class SimulatorTest : public torva::test::CSimFixture {};

std::vector<std::uint8_t> query(std::uint8_t subCode, std::uint16_t argument = 0) {
    return CSimClient::query(subCode, argument);
}

} // namespace

TEST_F(SimulatorTest, AnswersWithItsOwnFramingAndChecksumRules) {
    startSim();
    const auto identification = client().exchange(0x02, query(204));
    ASSERT_TRUE(identification) << transcriptText();
    EXPECT_EQ(identification->noiseBytes, 0u);
    EXPECT_EQ(identification->code, 0x02);
    EXPECT_EQ(identification->random & 0x8000, 0);
    EXPECT_EQ(identification->payload[0], 4);
    EXPECT_EQ(identification->payload[1], 25);
    EXPECT_EQ(identification->payload[2], 0x55);
    EXPECT_TRUE(identification->checksumWithOne());

    const auto sample = client().exchange(0x02, query(6));
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->code, 34);
    EXPECT_EQ(sample->payload.size(), 52u);
    EXPECT_TRUE(sample->checksumWithoutOne());
    EXPECT_FALSE(sample->checksumWithOne());

    const auto transcript = sim().transcript().entries();
    ASSERT_EQ(transcript.size(), 4u);
    EXPECT_EQ(transcript[0].direction, Direction::Request);
    EXPECT_EQ(transcript[0].payload, query(204));
    EXPECT_EQ(transcript[3].direction, Direction::Answer);
    EXPECT_EQ(transcript[3].code, 34);
    EXPECT_EQ(transcript[3].payload, sample->payload);
    EXPECT_LE(transcript[0].timeMs, transcript[3].timeMs);
}

TEST_F(SimulatorTest, IgnoresRequestsWithABadChecksum) {
    startSim();
    const auto q = query(204);
    auto bytes = frame::encode(0x02, 0x1234, q.data(), q.size());
    bytes.back() -= 1; // no constant 1: the controller does not answer
    client().sendBytes(bytes);
    EXPECT_FALSE(client().receive(200));
    EXPECT_EQ(sim().rejectedFrames(), 1u);
    EXPECT_TRUE(client().exchange(0x02, q));
}

TEST_F(SimulatorTest, BlockWriteIsStoredAndReadBack) {
    startSim();
    std::vector<std::uint8_t> sensors{70, 40, 20, 10, 1, 2, 3, 3};
    const auto ack = client().exchange(9, sensors);
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->code, 2);
    EXPECT_EQ(ack->payload[0], 4);
    EXPECT_EQ(sim().blockImage(9), sensors);
    const auto read = client().exchange(0x02, query(14));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 9);
    EXPECT_EQ(read->payload, sensors);
}

TEST_F(SimulatorTest, DropsAndComesBackWhenSilent) {
    startSim();
    sim().injectNext(FaultKind::Drop, 2);
    EXPECT_FALSE(client().exchange(0x02, query(204), 200));
    EXPECT_FALSE(client().exchange(0x02, query(204), 200));
    EXPECT_TRUE(client().exchange(0x02, query(204)));
    EXPECT_EQ(sim().transcript().entries()[1].note, "dropped");

    sim().setSilent(true);
    EXPECT_FALSE(client().exchange(0x02, query(204), 200));
    sim().setSilent(false);
    EXPECT_TRUE(client().exchange(0x02, query(204)));
    EXPECT_EQ(sim().transcript().countRequests(0x02, 204), 4u); // the silent one never arrived
}

TEST_F(SimulatorTest, CorruptsChecksumsAndCodesOnRequest) {
    startSim();
    sim().injectNext(FaultKind::CorruptChecksum);
    const auto corrupt = client().exchange(0x02, query(204));
    ASSERT_TRUE(corrupt);
    EXPECT_FALSE(corrupt->checksumWithOne());
    EXPECT_FALSE(corrupt->checksumWithoutOne());

    sim().injectNext(FaultKind::WrongCode);
    const auto wrong = client().exchange(0x02, query(7));
    ASSERT_TRUE(wrong);
    EXPECT_NE(wrong->code, 3);
    EXPECT_TRUE(wrong->checksumWithOne()); // a valid frame, just the wrong answer
    EXPECT_EQ(client().exchange(0x02, query(7))->code, 3);
}

TEST_F(SimulatorTest, NoiseBeforeTheHeaderAndSplitAnswers) {
    startSim();
    sim().setNoiseBytes(3);
    sim().injectNext(FaultKind::Noise);
    const auto noisy = client().exchange(0x02, query(204));
    ASSERT_TRUE(noisy);
    EXPECT_EQ(noisy->noiseBytes, 3u);
    EXPECT_TRUE(noisy->checksumWithOne());

    sim().setSplitGapMs(80);
    sim().injectNext(FaultKind::Split);
    const auto split = client().exchange(0x02, query(43));
    ASSERT_TRUE(split);
    EXPECT_EQ(split->code, 29);
    EXPECT_GE(split->largestGapMs, 60);
    EXPECT_TRUE(split->checksumWithOne());
}

TEST_F(SimulatorTest, DropPercentageDropsAboutThatShare) {
    SimConfig config;
    config.controller.seed = 11;
    startSim(config);
    sim().setFaultPercent(FaultKind::Drop, 50);
    int answered = 0;
    // An answer takes a few milliseconds; a dropped one costs the whole wait.
    for (int i = 0; i < 40; ++i)
        answered += client().exchange(0x02, query(204), 50) ? 1 : 0;
    EXPECT_GT(answered, 8);
    EXPECT_LT(answered, 32);
    sim().clearFaults();
    EXPECT_TRUE(client().exchange(0x02, query(204)));
}

TEST_F(SimulatorTest, PacingHoldsAnswersToTheLineRate) {
    startSim();
    const auto timeOf = [this] {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(client().exchange(0x02, query(18))); // 240-byte map: 248 bytes back
        return std::chrono::steady_clock::now() - start;
    };
    sim().setPace(true);
    // 8 bytes out and 248 back at 3840 bytes a second: at least 66 ms.
    EXPECT_GE(timeOf(), std::chrono::milliseconds(66));
}

TEST_F(SimulatorTest, LinkPointsAtTheDeviceWhileRunning) {
    const auto link =
        std::filesystem::temp_directory_path() / ("torva-sim-link-" + std::to_string(::getpid()));
    SimConfig config;
    config.linkPath = link.string();
    startSim(config);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), devicePath());
    CSimClient viaLink(link.string());
    EXPECT_TRUE(viaLink.exchange(0x02, query(204)));
    sim().stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}
