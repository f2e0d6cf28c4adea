// torvactl oscd cells on a drive recorded from the controller simulator: the layout of
// `map show`, counts and means, and the exit statuses; no controller is needed to run it.
#include "fixture/sim_fixture.h"
#include "torvactl_process.h"

#include "support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace torva;
using test::runTool;
using test::SToolRun;

namespace {

constexpr int kSamples = 30;

std::vector<std::vector<std::string>> table(const std::string& text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, separator);)
            fields.push_back(field);
        if (!line.empty() && line.back() == separator)
            fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

class OscdCells : public test::CSimFixture {
protected:
    void SetUp() override {
        startSim({}, false);
        m_recording = m_home.file("drive.oscd");
        m_settings = m_home.file("car.dsettings");
        const SToolRun monitor = run({"--port", devicePath(), "monitor", "--count",
                                      std::to_string(kSamples), "--record", m_recording});
        ASSERT_EQ(monitor.status, 0) << monitor.err;
        ASSERT_EQ(run({"--port", devicePath(), "config", "export", m_settings}).status, 0);
        m_mapShow = run({"--port", devicePath(), "map", "show", "3"}).out;
        sim().stop(); // the cells need no controller
    }
    SToolRun run(std::vector<std::string> arguments) {
        return runTool(m_home.path(), std::move(arguments));
    }
    SToolRun cells(std::vector<std::string> extra) {
        std::vector<std::string> arguments{"oscd", "cells", m_recording, "--settings", m_settings};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return run(std::move(arguments));
    }

    test::CTempFolder m_home;
    std::string m_recording;
    std::string m_settings;
    std::string m_mapShow; // the controller's own `map show 3`, for the axes
};

TEST_F(OscdCells, CountsEveryLineInTheLayoutOfMapShowAndMeansTheChosenColumn) {
    const SToolRun counted = cells({"--map", "3"});
    ASSERT_EQ(counted.status, 0) << counted.err;
    const auto rows = table(counted.out, '\t');
    const auto map = table(m_mapShow, '\t');
    ASSERT_EQ(rows.size(), 17u) << counted.out;
    EXPECT_EQ(rows[0], map[0]) << "RPM points";
    int total = 0;
    for (int r = 1; r <= 16; ++r) {
        ASSERT_EQ(rows[r].size(), 16u) << counted.out;
        EXPECT_EQ(rows[r][0], map[r][0]) << "load point of row " << r - 1;
        for (int c = 1; c <= 15; ++c)
            total += std::stoi(rows[r][c]);
    }
    EXPECT_EQ(total, kSamples);
    EXPECT_EQ(cells({"--map", "4"}).out, counted.out) << "both maps of a channel";

    const auto means = table(cells({"--map", "3", "--mean", "5", "--csv"}).out, ',');
    ASSERT_EQ(means.size(), 17u);
    for (int r = 1; r <= 16; ++r) {
        for (int c = 1; c <= 15; ++c) {
            const std::string& mean = means[r][c];
            if (rows[r][c] == "0")
                EXPECT_EQ(mean, "-");
            else
                EXPECT_EQ(mean.size() - mean.find('.'), 3u) << mean;
        }
    }
}

TEST_F(OscdCells, RefusesBadNumbersAndUnreadableFiles) {
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--map", "11"},
                                                  {"--map", "0"},
                                                  {"--map", "1", "--mean", "29"},
                                                  {"--map", "1", "--mean", "0"},
                                                  {"--map", "x"},
                                                  {}}) {
        EXPECT_EQ(cells(wrong).status, 2) << wrong.size();
    }
    const std::string garbage = m_home.file("garbage.dsettings");
    std::ofstream(garbage) << "not\ta settings file\n";
    for (const std::vector<std::string>& unreadable :
         {std::vector<std::string>{m_home.file("missing.oscd"), "--settings", m_settings},
          {m_recording, "--settings", m_home.file("missing.dsettings")},
          {m_recording, "--settings", garbage},
          {m_home.path(), "--settings", m_settings}}) {
        std::vector<std::string> arguments{"oscd", "cells"};
        arguments.insert(arguments.end(), unreadable.begin(), unreadable.end());
        arguments.insert(arguments.end(), {"--map", "1"});
        const SToolRun refused = run(arguments);
        EXPECT_EQ(refused.status, 1) << unreadable[0] << " " << unreadable[2];
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_EQ(refused.err.rfind("error: ", 0), 0u) << refused.err;
    }

    std::ofstream(m_recording, std::ios::trunc).close();
    const SToolRun empty = cells({"--map", "1", "--csv"});
    ASSERT_EQ(empty.status, 0) << empty.err;
    const auto rows = table(empty.out, ',');
    for (int r = 1; r <= 16; ++r)
        EXPECT_EQ(std::vector<std::string>(rows[r].begin() + 1, rows[r].end()),
                  std::vector<std::string>(15, "0"));
}

} // namespace
