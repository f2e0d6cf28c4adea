// torvactl run as a program against the controller simulator: the output, the files and the
// exit statuses are what scripts rely on.
#include "fixture/sim_fixture.h"
#include "torvactl_process.h"

#include "config/block_table.h"
#include "config/firmware_file.h"
#include "config/firmware_file_writer.h"
#include "support/firmware_contents.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
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

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

std::size_t fieldCount(const std::string& line, char separator) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), separator)) + 1;
}

std::string describe(const SToolRun& run) {
    return "status " + std::to_string(run.status) + "\nstdout:\n" + run.out + "stderr:\n" + run.err;
}

class TorvactlAgainstSimulator : public test::CSimFixture {
protected:
    void SetUp() override {
        static int counter = 0;
        m_home = std::filesystem::temp_directory_path() /
                 ("torvactl_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(m_home);
    }

    void TearDown() override {
        CSimFixture::TearDown();
        std::filesystem::remove_all(m_home);
    }

    sim::CSimulator& start(SimConfig config = {}) { return startSim(std::move(config), false); }

    std::string home() const { return m_home.string(); }
    std::string file(const std::string& name) const { return (m_home / name).string(); }

    // torvactl on the simulator's port.
    SToolRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", devicePath()});
        return runTool(home(), std::move(arguments));
    }
    SToolRun runDemo(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "--demo");
        return runTool(home(), std::move(arguments));
    }

    std::vector<std::uint8_t> block(EBlock which) {
        return sim().blockImage(blockInfo(which).code);
    }
    std::vector<std::vector<std::uint8_t>> allBlocks() {
        std::vector<std::vector<std::uint8_t>> images;
        for (const SBlockInfo& info : blockTable())
            images.push_back(sim().blockImage(info.code));
        return images;
    }

    std::filesystem::path m_home;
};

TEST_F(TorvactlAgainstSimulator, IdentifyShowsAPlainAndAnEncipheredIdentifier) {
    SimConfig plain;
    plain.controller.identity.identifier = "TRV4711";
    start(plain);
    const SToolRun text = run({"identify"});
    ASSERT_EQ(text.status, kOk) << describe(text);
    EXPECT_EQ(
        lines(text.out),
        (std::vector<std::string>{"model: KARMEL A2", "device-id: 25", "version: 1.47", "flags1: 5",
                                  "injectors: 6", "serial: TRV4711", "production-date: 21/01/2016",
                                  "live-diagnostics: yes", "port: " + devicePath()}));

    const SToolRun json = run({"--json", "identify"});
    ASSERT_EQ(json.status, kOk) << describe(json);
    for (const char* key : {"\"model\":\"KARMEL A2\"", "\"deviceID\":25", "\"version\":303",
                            "\"versionText\":\"1.47\"", "\"flags1\":5", "\"flags2\":0",
                            "\"injCount\":6", "\"serial\":\"TRV4711\"",
                            "\"prodDate\":\"21/01/2016\"", "\"liveDiag\":true", "\"port\":"})
        EXPECT_NE(json.out.find(key), std::string::npos) << key << "\n" << json.out;
    EXPECT_EQ(lines(json.out).size(), 1u);

    sim().stop();
    SimConfig enciphered;
    enciphered.controller.identity.identifier = "ENC0815";
    enciphered.controller.identity.enciphered = true;
    start(enciphered);
    const SToolRun decoded = run({"identify"});
    ASSERT_EQ(decoded.status, kOk) << describe(decoded);
    EXPECT_NE(decoded.out.find("serial: ENC0815\n"), std::string::npos) << decoded.out;

    // -v logs the frames on stderr and leaves stdout as it is.
    const SToolRun verbose = run({"-v", "identify"});
    EXPECT_EQ(verbose.out, decoded.out);
    EXPECT_NE(verbose.err.find("tx: "), std::string::npos);
    EXPECT_NE(verbose.err.find("rx: "), std::string::npos);
}

TEST_F(TorvactlAgainstSimulator, SetWritesThroughTheWireAndGetReadsItBack) {
    start();
    const std::vector<std::uint8_t> advanced = block(EBlock::Advanced);
    const SToolRun set = run({"set", "m_base.m_switchRPM", "1500", "m_sensorsSetup.m_fuelFull",
                              "70", "m_base.m_switchTempr", "40", "m_mapEmu1[2][3]", "-12"});
    ASSERT_EQ(set.status, kOk) << describe(set);
    EXPECT_EQ(set.out, "");
    EXPECT_EQ(block(EBlock::Advanced), advanced); // untouched blocks are not written

    const SToolRun get = run({"get", "m_base.m_switchRPM", "m_sensorsSetup.m_fuelFull",
                              "m_base.m_switchTempr", "m_mapEmu1[2][3]"});
    ASSERT_EQ(get.status, kOk) << describe(get);
    EXPECT_EQ(get.out, "m_base.m_switchRPM\t1500\nm_sensorsSetup.m_fuelFull\t70\n"
                       "m_base.m_switchTempr\t40\nm_mapEmu1[2][3]\t-12\n");

    const SToolRun json = run({"--json", "get", "m_base.m_switchRPM"});
    EXPECT_EQ(json.out, "{\"m_base.m_switchRPM\":1500.0}\n") << describe(json);

    // Without keys: the writer's whole key set in its order, without the time stamp.
    const SToolRun all = run({"get"});
    ASSERT_EQ(all.status, kOk) << describe(all);
    const std::vector<std::string> allLines = lines(all.out);
    ASSERT_EQ(allLines.size(), 2567u);
    EXPECT_EQ(allLines[0], "m_devInfo.m_version\t303");
    EXPECT_EQ(allLines[3], "m_devInfo.m_prodDate\t21/01/2016");

    // Refused before anything is written: unknown key (closest key named), members of no
    // block, values the field cannot hold, malformed values.
    const auto blocksBefore = allBlocks();
    const SToolRun unknown = run({"set", "m_base.m_switchRMP", "1500"});
    EXPECT_EQ(unknown.status, kUsage) << describe(unknown);
    EXPECT_NE(unknown.err.find("error: "), std::string::npos);
    EXPECT_NE(unknown.err.find("'m_base.m_switchRPM'"), std::string::npos) << unknown.err;
    EXPECT_EQ(run({"get", "m_base.m_swichRPM"}).status, kUsage);
    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"m_devInfo.m_serial", "X"},
             {"m_serviceSetup.m_tpsJump", "1"},
             {"m_base.m_switchRPM", "1600", "m_base.m_pressureGain", "30"}, // 300 in a byte
             {"m_base.m_switchRPM", "0"},                                   // no speed
             {"m_base.m_maxExhaustTemp", "70000"},                          // beyond a word
             {"m_sensorsSetup.m_fuelFull", "256"},
             {"m_mapTimeEmu1[0][0]", "-1"},
             {"m_base.m_switchRPM", "fast"},
             {"m_base.m_switchRPM", "nan"},
             {"m_base.m_switchRPM"},
         }) {
        std::vector<std::string> arguments{"set"};
        arguments.insert(arguments.end(), refused.begin(), refused.end());
        const SToolRun attempt = run(arguments);
        EXPECT_EQ(attempt.status, kUsage) << refused[0] << "\n" << describe(attempt);
        EXPECT_EQ(attempt.err.rfind("error: ", 0), 0u) << attempt.err;
    }
    EXPECT_EQ(allBlocks(), blocksBefore);
}

TEST_F(TorvactlAgainstSimulator, ExportThenImportRestoresTheBlocksByteForByte) {
    start();
    ASSERT_EQ(run({"set", "m_base.m_switchRPM", "1700", "m_mapTimeEmu2[5][5]", "3.2"}).status, kOk);
    const auto exported = allBlocks();
    const std::string settings = file("car.dsettings");
    const SToolRun exportRun = run({"config", "export", settings});
    ASSERT_EQ(exportRun.status, kOk) << describe(exportRun);
    EXPECT_EQ(exportRun.out, settings + "\n");
    EXPECT_NE(readFileText(settings).find("m_base.m_switchRPM\t1700\r\n"), std::string::npos);

    ASSERT_EQ(run({"set", "m_base.m_switchRPM", "2500", "m_mapTimeEmu2[5][5]", "1"}).status, kOk);
    ASSERT_NE(allBlocks(), exported);
    const SToolRun import = run({"config", "import", settings});
    ASSERT_EQ(import.status, kOk) << describe(import);
    EXPECT_EQ(allBlocks(), exported);
    // The backup of the configuration that was replaced.
    const std::vector<std::string> printed = lines(import.out);
    ASSERT_EQ(printed.size(), 1u) << describe(import);
    EXPECT_NE(printed[0].find("/Backup/"), std::string::npos) << printed[0];
    EXPECT_NE(readFileText(printed[0]).find("m_base.m_switchRPM\t2500\r\n"), std::string::npos);

    // A file that is no settings file is rejected and nothing is written.
    const std::string broken = file("broken.dsettings");
    std::ofstream(broken) << "m_timeStamp\tnow\r\nm_base.m_switchRPM\t900\r\n";
    const SToolRun rejected = run({"--lang", "1", "config", "import", broken});
    EXPECT_EQ(rejected.status, kRefused) << describe(rejected);
    EXPECT_NE(rejected.err.find("error: Cannot"), std::string::npos) << rejected.err;
    EXPECT_EQ(allBlocks(), exported);
}

TEST_F(TorvactlAgainstSimulator, FactoryRestoreNeedsYes) {
    start();
    ASSERT_EQ(run({"set", "m_base.m_switchRPM", "2500"}).status, kOk);
    const auto changed = allBlocks();
    const SToolRun refused = run({"config", "factory"});
    EXPECT_EQ(refused.status, kUsage) << describe(refused);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos);
    EXPECT_EQ(allBlocks(), changed);

    const int resets =
        sim().withController([](sim::CControllerModel& c) { return c.resetCount(); });
    const SToolRun restored = run({"--yes", "config", "factory"});
    ASSERT_EQ(restored.status, kOk) << describe(restored);
    EXPECT_EQ(sim().withController([](sim::CControllerModel& c) { return c.resetCount(); }),
              resets + 1);
    EXPECT_EQ(run({"get", "m_base.m_switchRPM"}).out, "m_base.m_switchRPM\t1200\n");
    const std::vector<std::string> printed = lines(restored.out);
    ASSERT_EQ(printed.size(), 1u) << describe(restored);
    EXPECT_NE(readFileText(printed[0]).find("m_base.m_switchRPM\t2500\r\n"), std::string::npos);
}

TEST_F(TorvactlAgainstSimulator, FaultsStatsAndModes) {
    start();
    sim().withController([](sim::CControllerModel& c) {
        c.setErrorStatus({0x01, 0x00, 0x01, 0x00});
        return 0;
    });
    const SToolRun polish = run({"--lang", "0", "faults"});
    ASSERT_EQ(polish.status, kOk) << describe(polish);
    EXPECT_EQ(polish.out, "1\tBłąd zapisu do pamięci EEPROM\n2\tBrak sygnału RPM\n");
    const SToolRun english = run({"--lang", "1", "faults"});
    EXPECT_EQ(english.out, "1\tEEPROM write error\n2\tNo RPM signal\n") << describe(english);
    const SToolRun json = run({"--lang", "1", "--json", "faults"});
    EXPECT_EQ(json.out, "{\"faults\":[\"EEPROM write error\",\"No RPM signal\"]}\n");

    EXPECT_EQ(run({"faults", "--clear"}).status, kOk);
    EXPECT_EQ(run({"faults"}).out, "");

    const SToolRun stats = run({"stats"});
    ASSERT_EQ(stats.status, kOk) << describe(stats);
    ASSERT_EQ(lines(stats.out).size(), 2u);
    EXPECT_EQ(lines(stats.out)[0].rfind("diesel: ", 0), 0u);
    EXPECT_NE(lines(stats.out)[0].find(" h: "), std::string::npos);
    EXPECT_EQ(lines(stats.out)[1].rfind("gas: ", 0), 0u);

    // A switch shows in the next live sample (column 1: 3 gas, 2 diesel).
    EXPECT_EQ(run({"mode", "gas"}).status, kOk);
    EXPECT_EQ(run({"monitor", "--count", "1"}).out.substr(0, 2), "3\t");
    EXPECT_EQ(run({"mode", "diesel"}).status, kOk);
    EXPECT_EQ(run({"monitor", "--count", "1"}).out.substr(0, 2), "2\t");
    EXPECT_EQ(run({"mode", "petrol"}).status, kUsage);
}

TEST_F(TorvactlAgainstSimulator, MonitorRecordsAndTheRecordingConvertsToCsv) {
    start();
    const std::string recording = file("drive.oscd");
    const SToolRun monitor = run({"monitor", "--count", "3", "--record", recording});
    ASSERT_EQ(monitor.status, kOk) << describe(monitor);
    const std::vector<std::string> shown = lines(monitor.out);
    ASSERT_EQ(shown.size(), 3u) << describe(monitor);
    for (const std::string& line : shown)
        EXPECT_EQ(fieldCount(line, '\t'), 28u) << line;
    EXPECT_EQ(readFileText(recording), monitor.out);

    const std::string csvFile = file("drive.csv");
    ASSERT_EQ(runTool(home(), {"oscd", "csv", recording, csvFile}).status, kOk);
    const std::vector<std::string> csv = lines(readFileText(csvFile));
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0].rfind("fuel_mode,switch_state,status_flags,rpm,", 0), 0u) << csv[0];
    for (const std::string& line : csv)
        EXPECT_EQ(fieldCount(line, ','), 28u) << line;
    std::string firstRow = shown[0];
    std::replace(firstRow.begin(), firstRow.end(), '\t', ',');
    EXPECT_EQ(csv[1], firstRow);
    EXPECT_EQ(runTool(home(), {"oscd", "csv", recording}).out, readFileText(csvFile));

    EXPECT_EQ(run({"monitor", "--count", "1", "--record", file("drive.txt")}).status, kUsage);
    EXPECT_EQ(runTool(home(), {"oscd", "csv", file("missing.oscd")}).status, kRefused);
}

TEST_F(TorvactlAgainstSimulator, FlashProgramsTheFileImage) {
    start();
    constexpr std::size_t kProgramOffset = kFirmwareProgramOffset;
    SFirmwareFileContents contents = patternFirmwareContents(4, 0x012F, "KARMEL A2");
    const std::string firmware = file("a2.afm");
    ASSERT_TRUE(writeFirmwareFile(firmware, contents));

    const SToolRun flash = run({"flash", firmware});
    ASSERT_EQ(flash.status, kOk) << describe(flash) << transcriptText();
    EXPECT_NE(flash.err.find("100%"), std::string::npos) << flash.err;
    CFirmwareFile loaded;
    ASSERT_TRUE(loaded.load(firmware).ok);
    const std::vector<std::uint8_t> flashImage = sim().flashImage();
    const std::size_t end = kProgramOffset + loaded.frameCount() * firmware_layout::kFrameSize;
    ASSERT_LE(end, flashImage.size());
    EXPECT_TRUE(std::equal(flashImage.begin() + kProgramOffset, flashImage.begin() + end,
                           loaded.image().begin() + kProgramOffset));
    ASSERT_EQ(lines(flash.out).size(), 1u) << describe(flash);
    EXPECT_TRUE(std::filesystem::exists(lines(flash.out)[0]));

    contents.version = 0x0120; // older than the controller's: a question only --yes answers
    ASSERT_TRUE(writeFirmwareFile(firmware, contents));
    const SToolRun older = run({"flash", firmware});
    EXPECT_EQ(older.status, kUsage) << describe(older);
    EXPECT_NE(older.err.find("--yes"), std::string::npos) << older.err;

    contents.version = 0x012F;
    contents.modelName = "KARMEL B2";
    ASSERT_TRUE(writeFirmwareFile(firmware, contents));
    const SToolRun wrong = run({"--lang", "1", "flash", firmware});
    EXPECT_EQ(wrong.status, kRefused) << describe(wrong);
}

TEST_F(TorvactlAgainstSimulator, NoControllerAndALostLinkExitThree) {
    const SToolRun missing = runTool(home(), {"--port", file("no-such-tty"), "identify"});
    EXPECT_EQ(missing.status, kNoController) << describe(missing);
    EXPECT_EQ(missing.err.rfind("error: ", 0), 0u);

    // The simulator as a program of its own, so that ending it closes its side of the line.
    const std::string link = file("ttySIM");
    test::CToolProcess simulator(home(), {"--link", link}, TORVA_SIM_PROGRAM, "torva-sim");
    for (int wait = 0; wait < 500 && !std::filesystem::exists(link); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    test::CToolProcess monitor(home(), {"--port", link, "monitor"});
    ASSERT_TRUE(monitor.waitForOutput(10000));
    simulator.kill();
    const SToolRun lost = monitor.finish(20000);
    EXPECT_EQ(lost.status, kNoController) << describe(lost);
    EXPECT_FALSE(lost.out.empty());
    EXPECT_NE(lost.err.find("error: No connection"), std::string::npos) << lost.err;

    EXPECT_EQ(runTool(home(), {"frobnicate"}).status, kUsage);
    EXPECT_EQ(runTool(home(), {"--lang", "20", "ports"}).status, kUsage);
    EXPECT_EQ(runTool(home(), {}).status, kUsage);
    const SToolRun help = runTool(home(), {"set", "--help"});
    EXPECT_EQ(help.status, kOk);
    EXPECT_NE(help.out.find("Example:"), std::string::npos) << help.out;
}

TEST_F(TorvactlAgainstSimulator, DemoModeAnswersWithoutAController) {
    const SToolRun identify = runDemo({"identify"});
    ASSERT_EQ(identify.status, kOk) << describe(identify);
    EXPECT_NE(identify.out.find("model: KARMEL A2\n"), std::string::npos);
    EXPECT_NE(identify.out.find("serial: DI001\n"), std::string::npos);
    EXPECT_NE(identify.out.find("version: 1.47\n"), std::string::npos);
    EXPECT_NE(identify.out.find("port: demo\n"), std::string::npos);

    EXPECT_EQ(runDemo({"set", "m_base.m_switchRPM", "1500"}).status, kOk);
    EXPECT_EQ(runDemo({"get", "m_base.m_switchRPM"}).status, kOk);
    EXPECT_EQ(runDemo({"stats"}).out, "diesel:    0 h: 00 min\ngas:    0 h: 00 min\n");
    EXPECT_EQ(runDemo({"faults"}).status, kOk);
    EXPECT_EQ(runDemo({"mode", "auto"}).status, kOk);
    EXPECT_EQ(runDemo({"--yes", "config", "factory"}).status, kOk);
    const SToolRun monitor = runDemo({"monitor", "--count", "2"});
    ASSERT_EQ(monitor.status, kOk) << describe(monitor);
    EXPECT_EQ(lines(monitor.out).size(), 2u);
    EXPECT_EQ(runDemo({"config", "export", file("demo.dsettings")}).status, kOk);
    EXPECT_EQ(runDemo({"config", "import", file("demo.dsettings")}).status, kOk);
}

} // namespace

TEST_F(TorvactlAgainstSimulator, ConfigDiffListsEveryDifferenceAndBackupsListsTheNewestFirst) {
    start();
    const std::string settings = file("car.dsettings");
    ASSERT_EQ(run({"config", "export", settings}).status, kOk);
    const SToolRun same = run({"config", "diff", settings});
    EXPECT_EQ(same.status, kOk) << describe(same);
    EXPECT_EQ(same.out, "");

    ASSERT_EQ(run({"set", "m_base.m_switchRPM", "1500", "m_adv.m_pwm", "30",
                   "m_sensorsSetup.m_fuelType", "1", "m_serviceSetup.m_maxRpm", "4500",
                   "m_tempomatSetup.m_ignitionOrder", "2", "m_mapEmu3[12][7]", "15"})
                  .status,
              kOk);
    const SToolRun differ = run({"config", "diff", settings});
    EXPECT_EQ(differ.status, kRefused) << describe(differ);
    EXPECT_EQ(differ.out, "m_base.m_switchRPM\t1500\t1200\n"
                          "m_adv.m_pwm\t30\t25\n"
                          "m_sensorsSetup.m_fuelType\t1\t0\n"
                          "m_serviceSetup.m_maxRpm\t4500\t5000\n"
                          "m_tempomatSetup.m_ignitionOrder\t2\t6\n"
                          "m_mapEmu3[12][7]\t15\t0\n")
        << describe(differ);
    EXPECT_EQ(differ.err, "");
    const SToolRun json = run({"--json", "config", "diff", settings});
    EXPECT_NE(json.out.find(
                  R"({"controller":15.0,"file":0.0,"group":"m_mapEmu3","key":"m_mapEmu3[12][7]"})"),
              std::string::npos)
        << json.out;

    const SToolRun missing = run({"config", "diff", file("missing.dsettings")});
    EXPECT_EQ(missing.status, kRefused);
    EXPECT_NE(missing.err.find("missing.dsettings: No such file"), std::string::npos)
        << missing.err;

    const SToolRun import = run({"config", "import", settings});
    ASSERT_EQ(import.status, kOk) << describe(import);
    EXPECT_EQ(run({"config", "diff", settings}).status, kOk);
    const SToolRun backups = run({"backups"});
    ASSERT_EQ(backups.status, kOk) << describe(backups);
    const std::vector<std::string> listed = lines(backups.out);
    ASSERT_EQ(listed.size(), 1u) << backups.out;
    EXPECT_EQ(listed[0].substr(listed[0].find('\t')), "\tload\t" + lines(import.out)[0]);
}
