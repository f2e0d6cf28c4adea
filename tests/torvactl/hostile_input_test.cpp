// torvactl against careless or hostile input, run as a program against the controller
// simulator: nothing reports success while the controller or a file holds something else, no
// special file hangs it, and every refusal says what was refused and why.
#include "fixture/sim_fixture.h"
#include "torvactl_process.h"

#include "config/block_table.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace torva;
using sim::SimConfig;
using test::kNoController;
using test::kOk;
using test::kRefused;
using test::kUsage;
using test::readFileText;
using test::runTool;
using test::SToolRun;

namespace {

std::string describe(const SToolRun& run) {
    return "status " + std::to_string(run.status) + "\nstdout:\n" + run.out + "stderr:\n" + run.err;
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class HostileInput : public test::CSimFixture {
protected:
    sim::CSimulator& start(SimConfig config = {}) { return startSim(std::move(config), false); }

    SToolRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", devicePath()});
        return runTool(m_home.path(), std::move(arguments));
    }
    SToolRun runOffline(std::vector<std::string> arguments) {
        return runTool(m_home.path(), std::move(arguments));
    }
    std::string file(const std::string& name) const { return m_home.file(name); }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(file(name), std::ios::binary) << text;
        return file(name);
    }
    std::vector<std::vector<std::uint8_t>> allBlocks() {
        std::vector<std::vector<std::uint8_t>> images;
        for (const SBlockInfo& info : blockTable())
            images.push_back(sim().blockImage(info.code));
        return images;
    }
    std::vector<std::uint8_t> block(EBlock which) {
        return sim().blockImage(blockInfo(which).code);
    }
    bool anyBackup() const {
        std::error_code error;
        return std::filesystem::exists(m_home.path() + "/Documents/TORVA DIESEL/Settings/Backup",
                                       error);
    }
    std::string fifo(const std::string& name) {
        EXPECT_EQ(::mkfifo(file(name).c_str(), 0600), 0);
        return file(name);
    }
    // A 200 MB file of one line, sparse so that it costs no disk.
    std::string huge(const std::string& name) {
        const std::string path = write(name, "1");
        std::filesystem::resize_file(path, 200u * 1024 * 1024);
        return path;
    }

    test::CTempFolder m_home;
};

} // namespace

TEST_F(HostileInput, SetRefusesWhatTheControllerWouldNotKeepAndCellsAreTypedAlike) {
    start();
    const auto before = allBlocks();
    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"m_base.m_switchRPM", "1e308"},        // would read back as 1200
             {"m_serviceSetup.m_maxRpm", "1e308"},   // as 5000
             {"m_base.m_switchTempr", "-300"},       // as -36
             {"m_mapCoordinatesEmu2[15]", "0.01"},   // below the point before it
             {"m_mapRpmCoordinatesEmu1[14]", "100"}, // likewise
         }) {
        const SToolRun attempt = run({"set", refused[0], refused[1]});
        EXPECT_EQ(attempt.status, kUsage) << describe(attempt);
        EXPECT_NE(attempt.err.find(refused[0] + ": "), std::string::npos) << attempt.err;
        EXPECT_EQ(lineCount(attempt.err), 1u) << attempt.err;
    }
    EXPECT_EQ(allBlocks(), before);

    // An emulation cell of 1.5 becomes 2 through set and through map load alike.
    ASSERT_EQ(run({"set", "m_mapEmu1[0][0]", "1.5"}).status, kOk);
    EXPECT_EQ(block(EBlock::EmuMap1)[0], 102);
    const SToolRun shown = run({"map", "show", "2", "--csv"});
    std::string map = shown.out;
    const std::size_t firstCell = map.find(',', map.find('\n') + 1);
    map.replace(firstCell + 1, map.find(',', firstCell + 1) - firstCell - 1, "-1.5");
    const SToolRun loaded = run({"map", "load", "2", write("emu1.csv", map)});
    ASSERT_EQ(loaded.status, kOk) << describe(loaded);
    EXPECT_EQ(block(EBlock::EmuMap1)[0], 98); // -1.5 rounds away from zero to -2
}

TEST_F(HostileInput, AxisRefusesRangesWhosePointsWouldMeet) {
    start();
    const auto before = allBlocks();
    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"axis", "2", "--min", "0", "--max", "1e-320"},
             {"axis", "5", "--min", "0", "--max", "15"}, // whole numbers: 0.9375 apart
             {"axis", "1", "--min", "nan", "--max", "4"},
             {"axis", "3", "--min", "0", "--max", "inf"},
         }) {
        const SToolRun attempt = run(refused);
        EXPECT_EQ(attempt.status, kUsage) << refused[1] << " " << refused[5] << describe(attempt);
    }
    EXPECT_EQ(allBlocks(), before);
    EXPECT_EQ(run({"axis", "5", "--min", "0", "--max", "16"}).status, kOk);
}

TEST_F(HostileInput, ALoadRefusesTheWholeFileBeforeTheBackupAndDiffRefusesItToo) {
    start();
    const std::string good = file("good.dsettings");
    ASSERT_EQ(run({"config", "export", good}).status, kOk);
    const auto before = allBlocks();
    std::string text = readFileText(good);
    const std::size_t at = text.find("m_mapRpmCoordinatesEmu1[3]\t");
    text.replace(at, text.find('\r', at) - at, "m_mapRpmCoordinatesEmu1[3]\tinf");
    const std::string bad = write("bad.dsettings", text);

    const SToolRun import = run({"config", "import", bad});
    EXPECT_EQ(import.status, kRefused) << describe(import);
    EXPECT_NE(import.err.find("error: Cannot load the settings from the file: bad.dsettings: line "
                              "573: m_mapRpmCoordinatesEmu1[3]: inf does not fit the field (0 to "
                              "25500)\n"),
              std::string::npos)
        << import.err;
    EXPECT_FALSE(anyBackup());
    EXPECT_EQ(allBlocks(), before);

    // Files the load refuses are no configuration to compare with.
    const std::string marked = write("marked.dsettings", "\xEF\xBB\xBF" + readFileText(good));
    for (const std::string& refused : {bad, marked}) {
        const SToolRun diff = run({"config", "diff", refused});
        EXPECT_EQ(diff.status, kRefused) << describe(diff);
        EXPECT_EQ(diff.out, "");
        EXPECT_NE(diff.err.find("Cannot load the settings"), std::string::npos) << diff.err;
    }
    EXPECT_EQ(run({"config", "diff", good}).status, kOk);
}

TEST_F(HostileInput, FilesThisProgramWroteLoadAsBefore) {
    SimConfig config;
    config.controller.identity.modelCode = 37;
    start(config);
    const std::string own = file("own.dsettings");
    ASSERT_EQ(run({"config", "export", own}).status, kOk);
    const auto before = allBlocks();
    const SToolRun import = run({"config", "import", own});
    ASSERT_EQ(import.status, kOk) << describe(import);
    EXPECT_EQ(allBlocks(), before);

    const std::string demo = file("demo.dsettings");
    ASSERT_EQ(runOffline({"--demo", "config", "export", demo}).status, kOk);
    const SToolRun fromDemo = run({"config", "import", demo});
    EXPECT_EQ(fromDemo.status, kOk) << describe(fromDemo);
}

TEST_F(HostileInput, SpecialFilesAreRefusedAtOnceWithBoundedMemory) {
    start();
    const std::string zero = file("zero.oscd");
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string folder = file("folder.dsettings");
    std::filesystem::create_directory(folder);
    // Bounded against what the tool takes for a small command: a sanitizer build alone starts
    // above 64 MB, while reading any of these files whole would add 200 MB or more.
    const SToolRun small = run({"identify"});
    ASSERT_EQ(small.status, kOk) << describe(small);
    const long bound = small.maxResidentKb + 32 * 1024;
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"config", "import", "/dev/zero"},
             {"config", "import", fifo("pipe.dsettings")},
             {"config", "import", folder},
             {"config", "import", huge("huge.dsettings")},
             {"map", "load", "1", "/dev/zero"},
             {"map", "load", "1", fifo("pipe.csv")},
             {"map", "load", "1", huge("huge.csv")},
             {"oscd", "csv", zero},
             {"oscd", "csv", fifo("pipe.oscd")},
             {"flash", fifo("pipe.afm")},
         }) {
        const SToolRun attempt = run(command);
        EXPECT_EQ(attempt.status, kRefused) << command.back() << "\n" << describe(attempt);
        EXPECT_LT(attempt.maxResidentKb, bound) << command.back();
    }

    // A recording of one 200 MB line is read through, skipped and counted.
    const SToolRun oneLine = run({"oscd", "csv", huge("line.oscd")});
    EXPECT_EQ(oneLine.status, kOk) << describe(oneLine);
    EXPECT_EQ(lineCount(oneLine.out), 1u); // the header only
    EXPECT_NE(oneLine.err.find("skipped 1 line"), std::string::npos) << oneLine.err;
    EXPECT_LT(oneLine.maxResidentKb, bound);
}

TEST_F(HostileInput, OutputThatCannotBeWrittenFailsTheCommand) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const SToolRun onFullDevice = test::runToolWritingTo(full, m_home.path(), {"--demo", "get"});
    ::close(full);
    EXPECT_EQ(onFullDevice.status, kRefused) << describe(onFullDevice);
    EXPECT_EQ(onFullDevice.err, "error: standard output: No space left on device\n");

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]); // nobody reads
    const SToolRun onClosedPipe =
        test::runToolWritingTo(pipeEnds[1], m_home.path(), {"--demo", "get"});
    ::close(pipeEnds[1]);
    EXPECT_EQ(onClosedPipe.status, kRefused) << describe(onClosedPipe);
    EXPECT_EQ(onClosedPipe.err, "error: standard output: Broken pipe\n");
}

TEST_F(HostileInput, OutputFilesAreRegularFilesWrittenWhole) {
    // Export onto a FIFO is refused and leaves it a FIFO; onto a link it writes the link's target.
    const std::string pipe = fifo("pipe.dsettings");
    const SToolRun ontoFifo = runOffline({"--demo", "config", "export", pipe});
    EXPECT_EQ(ontoFifo.status, kRefused) << describe(ontoFifo);
    EXPECT_NE(ontoFifo.err.find("not a regular file"), std::string::npos) << ontoFifo.err;
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    const std::string link = file("link.dsettings");
    std::filesystem::create_symlink("target.dsettings", link);
    ASSERT_EQ(runOffline({"--demo", "config", "export", link}).status, kOk);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(lineCount(readFileText(file("target.dsettings"))), 2568u);

    // The CSV is line-based: a short line in the middle is skipped and the rows after it stay
    // whole; the conversion never writes onto its own recording.
    std::string row;
    for (int column = 1; column <= 28; ++column)
        row += std::to_string(column) + (column < 28 ? "\t" : "\r\n");
    std::string shortRow = row.substr(0, row.rfind('\t')) + "\r\n";
    const std::string recording = write("drive.oscd", row + shortRow + row + "3\t\t5\n" + row);
    const std::string csv = file("drive.csv");
    const SToolRun converted = runOffline({"oscd", "csv", recording, csv});
    ASSERT_EQ(converted.status, kOk) << describe(converted);
    EXPECT_EQ(converted.err, "skipped 2 lines that did not hold 28 numbers (the first: line 2)\n");
    const std::string text = readFileText(csv);
    EXPECT_EQ(lineCount(text), 4u);
    EXPECT_EQ(text.substr(text.rfind("\n", text.size() - 2) + 1, 12), "1,2,3,4,5.00");
    const std::string alias = file("alias.oscd");
    std::filesystem::create_symlink("drive.oscd", alias);
    const SToolRun ontoItself = runOffline({"oscd", "csv", recording, alias});
    EXPECT_EQ(ontoItself.status, kUsage) << describe(ontoItself);
    EXPECT_EQ(readFileText(recording).substr(0, row.size()), row);
}

TEST_F(HostileInput, IdentifiersAreShownAndWrittenWithoutControlCharacters) {
    SimConfig config;
    config.controller.identity.identifier = "TRV4\a\x1b[2J";
    start(config);
    const SToolRun identity = run({"identify"});
    ASSERT_EQ(identity.status, kOk) << describe(identity);
    EXPECT_NE(identity.out.find("serial: TRV4\\x07\\x1B[2J\n"), std::string::npos) << identity.out;
    const std::string exported = file("car.dsettings");
    ASSERT_EQ(run({"config", "export", exported}).status, kOk);
    EXPECT_NE(readFileText(exported).find("m_devInfo.m_serial\tTRV4\\x07\\x1B[2J\r\n"),
              std::string::npos);
    ASSERT_EQ(run({"--yes", "config", "factory"}).status, kOk);
    const SToolRun backups = run({"backups"});
    for (const unsigned char c : backups.out)
        EXPECT_TRUE(c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F)) << int(c);
}

TEST_F(HostileInput, UnsupportedModelAndOverlongKeyAreNamedAsSuch) {
    SimConfig config;
    config.controller.identity.modelCode = 99;
    start(config);
    const SToolRun identity = run({"identify"});
    EXPECT_EQ(identity.status, kNoController) << describe(identity);
    EXPECT_NE(identity.err.find("a controller of an unsupported model (model number 99) answered"),
              std::string::npos)
        << identity.err;

    const SToolRun longKey = runOffline({"--demo", "get", std::string(100 * 1024, 'k') + "\a"});
    EXPECT_EQ(longKey.status, kUsage);
    EXPECT_EQ(longKey.err,
              "error: unknown key '" + std::string(64, 'k') + "... (102401 characters)'\n");
}
