// torvactl's port errors as a fitter meets them: the same plain sentences as the window, with
// the exit status scripts rely on.
#include "torvactl_process.h"

#include "link/serial_port.h"
#include "support/pseudo_terminal.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace torva {
namespace {

constexpr int kNoController = 3;

std::string describe(const test::SToolRun& run) {
    return "status " + std::to_string(run.status) + "\nstderr:\n" + run.err;
}

TEST(TorvactlPortErrors, ABusyPortNamesTheProgramHoldingIt) {
    test::CTempFolder home;
    test::CPseudoTerminal line;
    CSerialPort holder;
    holder.open(line.slavePath());
    const test::SToolRun run = test::runTool(home.path(), {"--port", line.slavePath(), "identify"});
    EXPECT_EQ(run.status, kNoController) << describe(run);
    EXPECT_NE(run.err.find("Port " + line.slavePath() + " is busy"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(pid " + std::to_string(::getpid()) + ")"), std::string::npos)
        << run.err;
    // The advice is read line by line, not joined like a one-line error.
    EXPECT_NE(run.err.find("\nClose that program"), std::string::npos) << run.err;
}

TEST(TorvactlPortErrors, AVanishedPortListsThePortsPresent) {
    test::CTempFolder home;
    const std::string gone = home.file("ttyUSB-unplugged");
    const test::SToolRun run = test::runTool(home.path(), {"--port", gone, "identify"});
    EXPECT_EQ(run.status, kNoController) << describe(run);
    EXPECT_NE(run.err.find("Port " + gone + " is gone"), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.find("Ports present now: ") != std::string::npos ||
                run.err.find("No serial port is present now.") != std::string::npos)
        << run.err;
}

} // namespace
} // namespace torva
