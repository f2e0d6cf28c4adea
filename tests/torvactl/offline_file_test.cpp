// torvactl --file: a settings file stands in for the controller. Every editing command done on
// the file and then loaded into a controller leaves that controller as the same command online
// does; refused commands leave the file as it was, byte for byte.
#include "torvactl_process.h"

#include "sim/simulator.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace torva;
using test::kOk;
using test::kRefused;
using test::kUsage;
using test::readFileText;
using test::runTool;
using test::SToolRun;

namespace {

std::string describe(const std::vector<std::string>& command, const SToolRun& run) {
    std::string text;
    for (const std::string& word : command)
        text += word + " ";
    return text + "-> status " + std::to_string(run.status) + "\n" + run.out + run.err;
}

class OfflineFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_online.start();
        m_loaded.start();
        m_file = m_home.file("car.dsettings");
        m_exported = m_home.file("exported.dsettings");
        ASSERT_EQ(online({"config", "export", m_exported}).status, kOk);
        std::filesystem::copy_file(m_exported, m_file);
    }
    void TearDown() override {
        m_online.stop();
        m_loaded.stop();
    }

    SToolRun on(const sim::CSimulator& sim, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", sim.devicePath()});
        return runTool(m_home.path(), std::move(arguments));
    }
    SToolRun online(std::vector<std::string> arguments) { return on(m_online, arguments); }
    SToolRun offline(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--file", m_file});
        return runTool(m_home.path(), std::move(arguments));
    }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = m_home.file(name);
        std::ofstream(path) << text;
        return path;
    }

    test::CTempFolder m_home;
    sim::CSimulator m_online;
    sim::CSimulator m_loaded;
    std::string m_file;
    std::string m_exported;
};

TEST_F(OfflineFile, EveryEditingCommandOnTheFileLoadsIntoTheControllerTheOnlineResult) {
    // Every cell 2.47 ms (the load rounds it to tenths), the axes as shown.
    std::istringstream shown(online({"map", "show", "3", "--csv"}).out);
    std::string map3;
    std::string line;
    std::getline(shown, line);
    map3 += line + "\n";
    while (std::getline(shown, line)) {
        map3 += line.substr(0, line.find(','));
        for (int column = 0; column < 15; ++column)
            map3 += ",2.47";
        map3 += "\n";
    }
    const std::string map3File = write("map3.csv", map3);

    const std::vector<std::vector<std::string>> commands{
        // A speed, temperatures and voltages the fields hold coarser; thresholds inverted by
        // the fuel type; the TPS cut-off with the switchable scale.
        {"set", "m_base.m_switchRPM", "1234", "m_base.m_switchTempr", "41",
         "m_sensorsSetup.m_fuelType", "1", "m_sensorsSetup.m_fuelFull", "61",
         "m_serviceSetup.m_mapCutOff", "1.237", "m_tempomatSetup.m_turboDetect", "2.111"},
        {"map", "step", "1", "--rows", "2-4", "--cols", "3-5", "--by", "0.3"},
        {"map", "step", "2", "--rows", "0-15", "--cols", "0", "--by", "-5"},
        {"map", "load", "3", map3File},
        {"--yes", "map", "clear", "3"},
        {"axis", "1", "--min", "0.5", "--max", "4.37", "--rpm-min", "800", "--rpm-max", "4100"},
        {"axis", "3", "--min", "0.2", "--max", "4.1", "--precise"},
    };
    for (const std::vector<std::string>& command : commands) {
        const SToolRun done = online(command);
        const SToolRun edited = offline(command);
        ASSERT_EQ(done.status, kOk) << describe(command, done);
        ASSERT_EQ(edited.status, kOk) << describe(command, edited);
        // A map load prints the path of its backup, which differs; the rest prints values.
        if (command[1] != "load") {
            EXPECT_EQ(edited.out, done.out) << describe(command, edited);
        }

        const SToolRun loaded = on(m_loaded, {"config", "import", m_file});
        ASSERT_EQ(loaded.status, kOk) << describe(command, loaded);
        const std::string expected = online({"get"}).out;
        EXPECT_EQ(on(m_loaded, {"get"}).out, expected) << describe(command, done);
        EXPECT_EQ(offline({"get"}).out, expected) << describe(command, done);
    }

    // The file's values where the controller's stand online.
    const SToolRun onlineDiff = online({"config", "diff", m_exported});
    const SToolRun offlineDiff = offline({"config", "diff", m_exported});
    EXPECT_EQ(onlineDiff.status, kRefused);
    EXPECT_EQ(offlineDiff.status, kRefused);
    EXPECT_EQ(offlineDiff.out, onlineDiff.out);
    EXPECT_NE(offlineDiff.out.find("m_sensorsSetup.m_fuelType\t1\t0\n"), std::string::npos)
        << offlineDiff.out;
}

TEST_F(OfflineFile, RefusedCommandsLeaveTheFileAsItWas) {
    const std::string before = readFileText(m_file);
    const std::string badMap = write("bad.csv", "1,2,3\n");
    const std::vector<std::pair<int, std::vector<std::string>>> refusals{
        {kUsage, {"set", "m_base.m_switchRPN", "1500"}},
        {kUsage, {"set", "m_base.m_switchRPM", "1500", "m_base.m_torvaDivider", "300"}},
        // A load would overwrite it with the controller type's value.
        {kUsage, {"set", "m_base.m_minVCC", "22"}},
        {kUsage, {"map", "step", "1", "--rows", "0", "--cols", "0", "--by", "21"}},
        {kUsage, {"axis", "rpm", "--min", "4000", "--max", "800"}},
        {kRefused, {"map", "load", "1", badMap}},
        {kUsage, {"map", "clear", "2"}},
        {kUsage, {"monitor", "--count", "1"}},
        {kUsage, {"faults"}},
        {kUsage, {"stats"}},
        {kUsage, {"mode", "gas"}},
        {kUsage, {"backups"}},
        {kUsage, {"config", "import", m_exported}},
        {kUsage, {"config", "export", m_home.file("other.dsettings")}},
        {kUsage, {"--yes", "config", "factory"}},
        {kUsage, {"--port", m_online.devicePath(), "get"}},
    };
    for (const auto& [status, command] : refusals) {
        const SToolRun refused = offline(command);
        EXPECT_EQ(refused.status, status) << describe(command, refused);
        EXPECT_NE(refused.err.find("error: "), std::string::npos) << describe(command, refused);
        EXPECT_EQ(readFileText(m_file), before) << describe(command, refused);
    }
    EXPECT_NE(offline({"faults"}).err.find("needs a controller"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_home.file("other.dsettings")));

    // A file that is missing, or one the load refuses, names the reason and writes nothing.
    const std::string missing = m_home.file("missing.dsettings");
    const SToolRun none = runTool(m_home.path(), {"--file", missing, "get"});
    EXPECT_EQ(none.status, kRefused);
    EXPECT_NE(none.err.find("missing.dsettings"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(missing));
    std::string withoutKey = before;
    withoutKey.erase(withoutKey.find("m_base.m_switchRPM"), 2);
    const std::string broken = write("broken.dsettings", withoutKey);
    const SToolRun rejected =
        runTool(m_home.path(), {"--file", broken, "set", "m_base.m_switchRPM", "1500"});
    EXPECT_EQ(rejected.status, kRefused) << rejected.err;
    EXPECT_EQ(readFileText(broken), withoutKey);
}

TEST_F(OfflineFile, IdentifyNamesTheFilesControllerAndNeedsNoPort) {
    const SToolRun shown = offline({"identify"});
    ASSERT_EQ(shown.status, kOk) << shown.err;
    const SToolRun live = online({"identify"});
    // Everything but how it was reached.
    const auto untilPort = [](const std::string& text) {
        return text.substr(0, text.find("live-diagnostics:"));
    };
    EXPECT_EQ(untilPort(shown.out), untilPort(live.out));
    EXPECT_NE(shown.out.find("port: " + m_file), std::string::npos) << shown.out;
}

} // namespace
