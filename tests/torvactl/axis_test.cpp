// torvactl axis against the controller simulator: what reaches the controller's axis blocks, and
// that a refused range writes nothing.
#include "fixture/sim_fixture.h"
#include "torvactl_process.h"

#include "config/block_table.h"

#include <filesystem>
#include <unistd.h>

using namespace torva;
using test::runTool;
using test::SToolRun;

namespace {

constexpr int kOk = 0;
constexpr int kUsage = 2;
// Bytes 32-46 of channel 1's axis block: the RPM axis in hundreds.
constexpr std::size_t kRpmBytes = 32;

class TorvactlAxis : public test::CSimFixture {
protected:
    void SetUp() override {
        m_home = std::filesystem::temp_directory_path() /
                 ("torvactl_axis_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_home);
    }
    void TearDown() override {
        CSimFixture::TearDown();
        std::filesystem::remove_all(m_home);
    }

    SToolRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", devicePath()});
        return runTool(m_home.string(), std::move(arguments));
    }
    std::vector<std::uint8_t> block(EBlock which) {
        return sim().blockImage(blockInfo(which).code);
    }
    std::vector<std::vector<std::uint8_t>> axisBlocks() {
        std::vector<std::vector<std::uint8_t>> images;
        for (EBlock which :
             {EBlock::Axes1Rpm, EBlock::Axis2, EBlock::Axis3, EBlock::Axis4, EBlock::AxisTpsD})
            images.push_back(block(which));
        return images;
    }

    std::size_t axisWrites() {
        std::size_t writes = 0;
        for (EBlock which :
             {EBlock::Axes1Rpm, EBlock::Axis2, EBlock::Axis3, EBlock::Axis4, EBlock::AxisTpsD})
            writes += sim().transcript().countRequests(blockInfo(which).code);
        return writes;
    }

    std::filesystem::path m_home;
};

std::string describe(const SToolRun& run) {
    return "status " + std::to_string(run.status) + "\nstdout:\n" + run.out + "stderr:\n" + run.err;
}

TEST_F(TorvactlAxis, ChannelOneWritesLoadAndRpmAxesTheControllerKeepsAsPrinted) {
    startSim({}, false);
    // 4040 rpm: the controller keeps hundreds, so the last point is 4000 in both places.
    const SToolRun defined =
        run({"axis", "1", "--min", "0.5", "--max", "4.5", "--rpm-min", "800", "--rpm-max", "4040"});
    ASSERT_EQ(defined.status, kOk) << describe(defined);
    EXPECT_NE(defined.out.find("m_mapCoordinatesEmu1[1]\t0.75\n"), std::string::npos);
    EXPECT_NE(defined.out.find("m_mapCoordinatesEmu1[15]\t4.5\n"), std::string::npos);
    EXPECT_NE(defined.out.find("m_mapRpmCoordinatesEmu1[14]\t4000\n"), std::string::npos);
    const std::vector<std::uint8_t> axes = block(EBlock::Axes1Rpm);
    EXPECT_EQ(
        std::vector<std::uint8_t>(axes.begin() + kRpmBytes, axes.begin() + kRpmBytes + 15),
        (std::vector<std::uint8_t>{8, 10, 12, 14, 17, 19, 21, 23, 25, 27, 30, 32, 34, 36, 40}));

    // Read back from the controller: the RPM axis as printed.
    const SToolRun readBack = run({"get", "m_mapCoordinatesEmu1[1]", "m_mapCoordinatesEmu1[15]",
                                   "m_mapRpmCoordinatesEmu1[14]"});
    EXPECT_EQ(readBack.out, "m_mapCoordinatesEmu1[1]\t0.75\nm_mapCoordinatesEmu1[15]\t4.5\n"
                            "m_mapRpmCoordinatesEmu1[14]\t4000\n")
        << describe(readBack);

    // Without an RPM range channel 1 keeps its RPM axis; only its own block is written.
    const auto before = axisBlocks();
    const SToolRun loadOnly = run({"axis", "1", "--min", "1", "--max", "4", "--precise"});
    ASSERT_EQ(loadOnly.status, kOk) << describe(loadOnly);
    EXPECT_EQ(loadOnly.out.find("m_mapRpm"), std::string::npos);
    const auto after = axisBlocks();
    EXPECT_NE(after[0], before[0]);
    EXPECT_TRUE(
        std::equal(after[0].begin() + kRpmBytes, after[0].end(), before[0].begin() + kRpmBytes));
    EXPECT_TRUE(std::equal(after.begin() + 1, after.end(), before.begin() + 1));
}

TEST_F(TorvactlAxis, EachAxisGoesToItsOwnBlock) {
    startSim({}, false);
    auto before = axisBlocks();
    for (const auto& [arguments, changed] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"axis", "2", "--min", "0.2", "--max", "4.2"}, 1},
             {{"axis", "3", "--min", "0", "--max", "5", "--precise"}, 2},
             {{"axis", "4", "--min", "0.4", "--max", "3.9"}, 3},
             {{"axis", "5", "--min", "0", "--max", "90"}, 4},
             {{"axis", "rpm", "--min", "1000", "--max", "5500"}, 0},
         }) {
        const SToolRun defined = run(arguments);
        ASSERT_EQ(defined.status, kOk) << arguments[1] << "\n" << describe(defined);
        const auto after = axisBlocks();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(after[i] != before[i], i == changed) << arguments[1] << " block " << i;
        before = after;
    }
    // The digital-TPS axis with its end points as they are is not written again.
    ASSERT_EQ(run({"axis", "5", "--min", "0", "--max", "90"}).status, kOk);
    EXPECT_EQ(axisWrites(), 5u); // one per command above
}

TEST_F(TorvactlAxis, RefusedRangesExitTwoAndWriteNothing) {
    startSim({}, false);
    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"rpm", "--min", "800", "--max", "1400"},  // maximum below 1500
             {"rpm", "--min", "1500", "--max", "1600"}, // points would repeat
             {"1", "--min", "1", "--max", "4", "--rpm-min", "1500", "--rpm-max", "1600"},
             {"2", "--min", "2", "--max", "2"}, // a flat axis
             {"2", "--min", "3", "--max", "2"},
             {"3", "--min", "0", "--max", "101"},
             {"4", "--min", "100", "--max", "100"},
             {"5", "--min", "0", "--max", "90", "--precise"},
             {"2", "--min", "0", "--max", "4", "--rpm-min", "800", "--rpm-max", "4000"},
             {"1", "--min", "0", "--max", "4", "--rpm-min", "800"},
             {"rpm", "--min", "800", "--max", "4000", "--precise"},
             {"6", "--min", "0", "--max", "4"},
             {"1", "--min", "zero", "--max", "4"},
         }) {
        std::vector<std::string> arguments{"axis"};
        arguments.insert(arguments.end(), refused.begin(), refused.end());
        const SToolRun attempt = run(arguments);
        EXPECT_EQ(attempt.status, kUsage) << refused[0] << " " << refused[2] << "\n"
                                          << describe(attempt);
        EXPECT_EQ(attempt.err.rfind("error: ", 0), 0u) << attempt.err;
    }
    // The message names the smallest span that works.
    const SToolRun narrow = run({"axis", "rpm", "--min", "1500", "--max", "1600"});
    EXPECT_NE(narrow.err.find("at least 2943 (a span of 1443 rpm)"), std::string::npos)
        << narrow.err;
    EXPECT_EQ(axisWrites(), 0u);

    // A controller without the digital-TPS maps has no axis 5.
    sim().stop();
    sim::SimConfig model3;
    model3.controller.identity.modelCode = 3;
    startSim(model3, false);
    EXPECT_EQ(run({"axis", "5", "--min", "0", "--max", "90"}).status, kUsage);
}

} // namespace
