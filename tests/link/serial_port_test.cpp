#include "link/rs_error.h"
#include "link/serial_port.h"
#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace torva;
using test::CPseudoTerminal;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The way the connection opens a port: open, line settings, time-outs.
void openForController(CSerialPort& port, const std::string& path) {
    port.open(path);
    port.setState(kControllerLine);
    port.setTimeout(kControllerTimeouts);
}

// Runs call, which must raise a CRSError, and returns that error.
template <typename Call> CRSError raisedBy(Call call) {
    try {
        call();
    } catch (const CRSError& error) {
        return error;
    }
    ADD_FAILURE() << "no CRSError raised";
    return CRSError(0, "", 0);
}

void settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

TEST(SerialPort, ReadReturnsWhatArrivedAndTimesOutWithoutError) {
    CPseudoTerminal pty;
    CSerialPort port;
    openForController(port, pty.slavePath());

    pty.send({1, 2, 3, 4, 5, 6});
    Bytes got(4);
    EXPECT_EQ(port.read(got.data(), 4), 4u);
    EXPECT_EQ(got, (Bytes{1, 2, 3, 4}));

    // Two bytes are left; a read of four waits out its time-out (1000 ms + 1 ms a byte) and
    // returns them.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(got.data(), 4), 2u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1004));
}

TEST(SerialPort, WritesReachThePeerAndPurgeDropsOnlyEarlierInput) {
    CPseudoTerminal pty;
    CSerialPort port;
    openForController(port, pty.slavePath());

    const Bytes out{0xAA, 0x55, 0x00, 0x11, 0x13, 0x0D, 0x0A, 0xFF};
    EXPECT_EQ(port.write(out.data(), out.size()), out.size());
    EXPECT_EQ(pty.receive(out.size(), 1000), out); // raw: no translation, no flow control

    pty.send({1, 2, 3});
    settle();
    port.purgeIn();
    pty.send({4, 5});
    Bytes got(3);
    EXPECT_EQ(port.read(got.data(), 2), 2u);
    EXPECT_EQ(got[0], 4);
    EXPECT_EQ(got[1], 5);
    EXPECT_EQ(port.clearCommError(), 0);
}

TEST(SerialPort, FailedOpenRaisesCodeFiveAndLeavesThePortUsable) {
    const std::string missingPath = "/dev/ttyUSB63"; // port 96
    if (std::filesystem::exists(missingPath))
        GTEST_SKIP() << missingPath << " exists here";
    CSerialPort port;
    CRSError error = raisedBy([&] { port.open(96); });
    EXPECT_EQ(error.code(), 5);
    EXPECT_EQ(error.detail(), "CSerialPort::open(96) - GetLastError()=2");
    EXPECT_EQ(error.sourceFile(), "serialport");
    EXPECT_GT(error.sourceLine(), 0);
    EXPECT_EQ(error.className(), "CRSError");
    EXPECT_EQ(error.descriptions(),
              (std::vector<std::string>{"Nie można otworzyć portu RS.",
                                        "Nie można wykonać operacji na RS."}));
    EXPECT_FALSE(port.isOpen());

    EXPECT_EQ(raisedBy([&] { port.open(0); }).detail(), "CSerialPort::open(0) - GetLastError()=2");
    // Something that exists but is no terminal is refused too.
    EXPECT_EQ(raisedBy([&] { port.open(std::string("/dev/null")); }).code(), 5);

    CPseudoTerminal pty;
    openForController(port, pty.slavePath());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.devicePath(), pty.slavePath());
    EXPECT_EQ(port.portNumber(), 0);

    // A later failure closes the port but remembers the last good one.
    EXPECT_EQ(raisedBy([&] { port.open(96); }).code(), 5);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.devicePath(), pty.slavePath());
}

TEST(SerialPort, OpenIsExclusiveAcrossObjectsAndProcesses) {
    CPseudoTerminal pty;
    CSerialPort first;
    openForController(first, pty.slavePath());

    CSerialPort second;
    EXPECT_EQ(raisedBy([&] { second.open(pty.slavePath()); }).code(), 5);
    EXPECT_FALSE(second.isOpen());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 1;
        try {
            CSerialPort other;
            other.open(pty.slavePath());
        } catch (const CRSError& error) {
            status = error.code() == 5 ? 0 : 2;
        }
        _exit(status);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    first.close();
    EXPECT_NO_THROW(second.open(pty.slavePath()));
}

TEST(SerialPort, OperationsOnAClosedOrHungUpPortRaiseCodeSix) {
    CSerialPort port;
    std::uint8_t byte = 0;
    EXPECT_EQ(raisedBy([&] { port.read(&byte, 1); }).detail(),
              "CSerialPort::read() - GetLastError()=9");
    EXPECT_EQ(raisedBy([&] { port.write(&byte, 1); }).detail(),
              "CSerialPort::write() - GetLastError()=9");
    const CRSError purge = raisedBy([&] { port.purgeIn(); });
    EXPECT_EQ(purge.code(), 6);
    EXPECT_EQ(purge.detail(),
              "CSerialPort::purgeIn() \n GetLastError() = 9\n clearCommError() = 9");
    EXPECT_EQ(raisedBy([&] { port.setTimeout(kControllerTimeouts); }).code(), 6);
    EXPECT_NE(port.clearCommError(), 0);

    CPseudoTerminal pty;
    port.open(pty.slavePath());
    SLineSettings odd = kControllerLine;
    odd.baudRate = 12345;
    const CRSError state = raisedBy([&] { port.setState(odd); });
    EXPECT_EQ(state.code(), 6);
    EXPECT_EQ(state.detail(),
              "CSerialPort::setState() \n GetLastError() = 22\n clearCommError() = 0");

    port.setState(kControllerLine);
    pty.closeMaster();
    EXPECT_EQ(raisedBy([&] { port.read(&byte, 1); }).code(), 6);
}
