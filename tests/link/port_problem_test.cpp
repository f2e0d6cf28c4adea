// The three port problems a fitter meets on the first day, produced for real on pseudo-terminals:
// a port another open holds, a device the user may not open, an adapter that went away.
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "link/port_names.h"
#include "link/port_problem.h"
#include "link/rs_error.h"
#include "link/serial_port.h"
#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace torva {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The problem and the text of a failed open of path.
SPortProblem openProblem(const std::string& path) {
    CSerialPort port;
    try {
        port.open(path);
    } catch (const CRSError& error) {
        return diagnosePortProblem(error);
    }
    ADD_FAILURE() << path << " opened";
    return {};
}

class PortProblems : public ::testing::Test {
protected:
    PortProblems() { selectLanguage(kPolishLanguage); }
    test::CPseudoTerminal m_line;
};

TEST_F(PortProblems, ABusyPortNamesItselfAndTheProgramHoldingIt) {
    CSerialPort holder;
    holder.open(m_line.slavePath());

    const SPortProblem problem = openProblem(m_line.slavePath());
    EXPECT_EQ(problem.kind, EPortProblem::Busy);
    const std::string self = "(pid " + std::to_string(::getpid()) + ")";
    ASSERT_EQ(problem.holders.size(), 1u);
    EXPECT_TRUE(contains(problem.holders[0], self)) << problem.holders[0];

    // What the connection says: the plain sentence first, the technical context last.
    CLPGDevice device;
    std::string why;
    EXPECT_FALSE(device.connect(m_line.slavePath(), &why));
    EXPECT_EQ(why.rfind("Port " + m_line.slavePath() + " jest zajęty", 0), 0u) << why;
    EXPECT_TRUE(contains(why, self)) << why;
    EXPECT_TRUE(contains(why, "GetLastError()=")) << why;
    EXPECT_TRUE(contains(why.substr(why.rfind('\n')), "CSerialPort::open")) << why;
}

// Root opens any device, so a root run drops to an unprivileged user in a child process.
TEST_F(PortProblems, APortWithoutPermissionGivesTheGroupCommandAndNewLogin) {
    const std::string path = m_line.slavePath();
    int fromChild[2];
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fromChild[0]);
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (nobody == nullptr || ::setgroups(0, nullptr) != 0 ||
                ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                ::_exit(3);
        } else if (::chmod(path.c_str(), 0) != 0) {
            ::_exit(3);
        }
        const SPortProblem problem = openProblem(path);
        const std::string text =
            std::to_string(static_cast<int>(problem.kind)) + "\n" + portProblemText(problem);
        [[maybe_unused]] const ssize_t written = ::write(fromChild[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(fromChild[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(fromChild[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(fromChild[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "this machine cannot run the open as a user without the permission";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report;

    EXPECT_EQ(report.rfind(std::to_string(static_cast<int>(EPortProblem::NoPermission)), 0), 0u)
        << report;
    EXPECT_TRUE(contains(report, "Brak uprawnień do portu " + path)) << report;
    EXPECT_TRUE(contains(report, "sudo usermod -aG ")) << report;
    EXPECT_TRUE(contains(report, "zaloguj")) << report; // a new login is needed
    EXPECT_TRUE(contains(report, "Permission denied")) << report;
}

TEST_F(PortProblems, AVanishedAdapterIsSaidWithThePortsPresent) {
    const std::string path = m_line.slavePath();
    CSerialPort port;
    port.open(path);
    m_line.closeMaster(); // unplugged: the device node goes with it
    std::uint8_t byte = 0;
    SPortProblem problem;
    try {
        port.read(&byte, 1);
        FAIL() << "a read from a vanished port must fail";
    } catch (const CRSError& error) {
        problem = diagnosePortProblem(error);
    }
    EXPECT_EQ(problem.kind, EPortProblem::Vanished);
    EXPECT_EQ(problem.path, path);
    std::vector<std::string> present;
    for (const int number : presentPorts())
        present.push_back(devicePathForPort(number));
    EXPECT_EQ(problem.presentPorts, present);
    const std::string text = portProblemText(problem);
    EXPECT_EQ(text.rfind("Port " + path + " zniknął", 0), 0u) << text;
    EXPECT_TRUE(contains(text, present.empty() ? "Nie ma teraz żadnego portu szeregowego."
                                               : "Porty obecne teraz: " + present.front()))
        << text;
}

} // namespace
} // namespace torva
