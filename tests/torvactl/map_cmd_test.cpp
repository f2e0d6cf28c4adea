// torvactl map against the controller simulator: the printed form, the step as the grid sends
// it, whole-map loads with their refusals, and the clear pair.
#include "fixture/sim_fixture.h"
#include "torvactl_process.h"

#include "config/block_table.h"
#include "support/temp_folder.h"

#include <fstream>
#include <sstream>

using namespace torva;
using test::runTool;
using test::SToolRun;

namespace {

class MapCommand : public test::CSimFixture {
protected:
    void SetUp() override { startSim({}, false); }
    SToolRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", devicePath()});
        return runTool(m_home.path(), std::move(arguments));
    }
    std::vector<std::uint8_t> block(EBlock which) {
        return sim().blockImage(blockInfo(which).code);
    }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = m_home.path() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        std::istringstream stream(text);
        for (std::string line; std::getline(stream, line);)
            result.push_back(line);
        return result;
    }

    test::CTempFolder m_home;
};

TEST_F(MapCommand, ShowStepAndLoadRoundTripThroughTheController) {
    const SToolRun shown = run({"map", "show", "1", "--csv"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const std::vector<std::string> rows = lines(shown.out);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0].front(), ',');
    for (const std::string& row : rows)
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), 15) << row;
    EXPECT_EQ(lines(run({"map", "show", "2"}).out)[1].find(','), std::string::npos);

    // Load a map of 1.0 ms with one cell of 2.5, then step a corner block by +0.1.
    std::string file = rows[0] + "\n";
    for (int r = 1; r <= 16; ++r) {
        std::string line = rows[r].substr(0, rows[r].find(','));
        for (int c = 0; c < 15; ++c)
            line += (r == 16 && c == 14) ? ",2.5" : ",1.0";
        file += line + "\n";
    }
    const SToolRun loaded = run({"map", "load", "1", write("time1.csv", file)});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("Backup"), std::string::npos);
    EXPECT_EQ(block(EBlock::TimeMap1)[0], 10);
    EXPECT_EQ(block(EBlock::TimeMap1)[239], 25);

    const SToolRun stepped =
        run({"map", "step", "1", "--rows", "14-15", "--cols", "13-14", "--by", "0.1"});
    ASSERT_EQ(stepped.status, 0) << stepped.err;
    EXPECT_EQ(block(EBlock::TimeMap1)[239], 26);
    EXPECT_EQ(block(EBlock::TimeMap1)[14 * 15 + 12], 10);
    EXPECT_EQ(lines(stepped.out)[16].substr(lines(stepped.out)[16].rfind('\t') + 1), "2.6");

    // Out of range: exit 2 and nothing written.
    const auto before = block(EBlock::TimeMap1);
    EXPECT_EQ(run({"map", "step", "1", "--rows", "15", "--cols", "14", "--by", "18"}).status, 2);
    EXPECT_EQ(block(EBlock::TimeMap1), before);
}

TEST_F(MapCommand, LoadRefusesAWrongFileNamingLineAndColumnAndClearNeedsYes) {
    const std::vector<std::string> rows = lines(run({"map", "show", "2", "--csv"}).out);
    const auto before = block(EBlock::EmuMap1);
    std::string bad;
    for (std::size_t r = 0; r < rows.size(); ++r)
        bad +=
            (r == 3 ? rows[r].substr(0, rows[r].find(',')) + ",1,2,x,4,5,6,7,8,9,10,11,12,13,14,15"
                    : rows[r]) +
            "\n";
    const SToolRun notNumber = run({"map", "load", "2", write("bad.csv", bad)});
    EXPECT_EQ(notNumber.status, 1);
    EXPECT_NE(notNumber.err.find("line 4, column 4"), std::string::npos) << notNumber.err;
    std::string high = bad;
    high.replace(high.find(",x,"), 3, ",95,");
    const SToolRun outOfRange = run({"map", "load", "2", write("high.csv", high)});
    EXPECT_EQ(outOfRange.status, 1);
    EXPECT_NE(outOfRange.err.find("line 4, column 4"), std::string::npos) << outOfRange.err;
    EXPECT_EQ(run({"map", "load", "2", write("short.csv", rows[0] + "\n")}).status, 1);
    EXPECT_EQ(block(EBlock::EmuMap1), before);

    EXPECT_EQ(run({"map", "clear", "2"}).status, 2);
    ASSERT_EQ(run({"--yes", "map", "clear", "2"}).status, 0);
    EXPECT_EQ(block(EBlock::EmuMap1), std::vector<std::uint8_t>(240, 100));
    EXPECT_EQ(run({"map", "show", "11"}).status, 2);
}

TEST_F(MapCommand, DigitalTpsMapsOnlyOnTwentyFourVoltControllers) {
    sim::SimConfig config;
    config.controller.identity.modelCode = 3;
    startSim(config, false);
    const SToolRun refused = run({"map", "show", "9"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("types 25 and 37"), std::string::npos);
}

} // namespace
