#include "link/serial_port.h"

#include "link/port_names.h"
#include "link/rs_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/major.h>
#include <linux/serial.h>
#include <poll.h>
#include <sstream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace torva {

namespace {

using Deadline = std::chrono::steady_clock::time_point;

Deadline deadlineAfter(int constantMs, int perByteMs, std::size_t count) {
    const auto total = static_cast<long long>(constantMs) +
                       static_cast<long long>(perByteMs) * static_cast<long long>(count);
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(total);
}

// Milliseconds left until the deadline, rounded up so a poll never wakes just before it.
int msUntil(Deadline deadline) {
    using namespace std::chrono;
    const auto left = duration_cast<microseconds>(deadline - steady_clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
}

template <typename Flag, std::size_t N>
bool lookUp(const std::array<std::pair<int, Flag>, N>& table, int key, Flag& flag) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [key](const auto& entry) { return entry.first == key; });
    if (found == table.end())
        return false;
    flag = found->second;
    return true;
}

constexpr std::array<std::pair<int, speed_t>, 9> kSpeeds{{{1200, B1200},
                                                          {2400, B2400},
                                                          {4800, B4800},
                                                          {9600, B9600},
                                                          {19200, B19200},
                                                          {38400, B38400},
                                                          {57600, B57600},
                                                          {115200, B115200},
                                                          {230400, B230400}}};
constexpr std::array<std::pair<int, tcflag_t>, 4> kDataBits{
    {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}}};

// Raises or drops one modem control line. Pseudo-terminals have no modem lines; that is fine.
bool setModemLine(int fd, int line, bool on) {
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL;
}

// 0 when fd is a terminal we now hold exclusively, else the error number. flock keeps out every
// other open that asks for the lock, in this process and in others (root included); TIOCEXCL
// keeps out other programs' plain opens.
int claimTerminal(int fd) {
    if (!isatty(fd))
        return errno;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno;
    if (ioctl(fd, TIOCEXCL) != 0)
        return errno;
    return 0;
}

} // namespace

CSerialPort::~CSerialPort() {
    close();
}

void CSerialPort::open(int portNumber) {
    const std::string label = std::to_string(portNumber);
    const std::string path = devicePathForPort(portNumber);
    if (path.empty()) {
        close();
        raiseError(CRSError::kOpenFailed,
                   "CSerialPort::open(" + label + ") - GetLastError()=" + std::to_string(ENOENT),
                   __LINE__, {}, ENOENT);
    }
    openDevice(path, portNumber, label);
}

void CSerialPort::open(const std::string& devicePath) {
    const int portNumber = portForDevicePath(devicePath);
    openDevice(devicePath, portNumber, portNumber ? std::to_string(portNumber) : devicePath);
}

void CSerialPort::openDevice(const std::string& path, int portNumber, const std::string& label) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const int lastError = fd < 0 ? errno : claimTerminal(fd);
    if (lastError != 0) {
        if (fd >= 0)
            ::close(fd);
        raiseError(CRSError::kOpenFailed,
                   "CSerialPort::open(" + label + ") - GetLastError()=" + std::to_string(lastError),
                   __LINE__, path, lastError);
    }
    m_fd.store(fd);
    m_portNumber = portNumber;
    m_devicePath = path;
    m_lastCounters = {};
    clearCommError(); // start counting line errors from now
}

void CSerialPort::close() {
    const int fd = m_fd.exchange(-1);
    if (fd < 0)
        return;
    ioctl(fd, TIOCNXCL); // a pseudo-terminal keeps the flag after the slave closes
    ::close(fd);
}

bool CSerialPort::isHungUpPseudoTerminal() const {
    const int fd = m_fd.load();
    struct stat device {};
    if (fd < 0 || fstat(fd, &device) != 0 || !S_ISCHR(device.st_mode))
        return false;
    const unsigned int number = major(device.st_rdev);
    if (number < UNIX98_PTY_SLAVE_MAJOR ||
        number >= UNIX98_PTY_SLAVE_MAJOR + UNIX98_PTY_MAJOR_COUNT)
        return false;
    pollfd line{fd, 0, 0};
    return ::poll(&line, 1, 0) == 1 && (line.revents & POLLHUP) != 0;
}

void CSerialPort::setState(const SLineSettings& settings) {
    const int fd = m_fd.load();
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        raiseOperationError("setState", errno, __LINE__);
    speed_t speed{};
    tcflag_t sizeFlag{};
    if (!lookUp(kSpeeds, settings.baudRate, speed) ||
        !lookUp(kDataBits, settings.dataBits, sizeFlag) ||
        (settings.stopBits != 1 && settings.stopBits != 2))
        raiseOperationError("setState", EINVAL, __LINE__);

    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    if (settings.xonXoffFlow)
        tio.c_iflag |= IXON | IXOFF;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | sizeFlag;
    if (settings.parity != EParity::None)
        tio.c_cflag |= PARENB | (settings.parity == EParity::Odd ? PARODD : 0);
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    if (settings.rtsCtsFlow)
        tio.c_cflag |= CRTSCTS;
    tio.c_cc[VSTART] = settings.xonChar;
    tio.c_cc[VSTOP] = settings.xoffChar;
    // Reads never block inside the driver; read() waits with poll() against its own deadline.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        tcsetattr(fd, TCSANOW, &tio) != 0)
        raiseOperationError("setState", errno, __LINE__);

    if (!setModemLine(fd, TIOCM_DTR, settings.dtrOn) ||
        !setModemLine(fd, TIOCM_RTS, settings.rtsOn))
        raiseOperationError("setState", errno, __LINE__);
}

void CSerialPort::setTimeout(const STimeouts& timeouts) {
    if (!isOpen())
        raiseOperationError("setTimeout", EBADF, __LINE__);
    const bool valid = timeouts.readTotalConstantMs >= 0 && timeouts.readTotalPerByteMs >= 0 &&
                       timeouts.writeTotalConstantMs >= 0 && timeouts.writeTotalPerByteMs >= 0;
    if (!valid)
        raiseOperationError("setTimeout", EINVAL, __LINE__);
    m_timeouts = timeouts;
}

std::size_t CSerialPort::read(std::uint8_t* buffer, std::size_t count) {
    const auto fail = [this](int lastError, int line) {
        raiseError(CRSError::kOperationFailed,
                   "CSerialPort::read() - GetLastError()=" + std::to_string(lastError), line,
                   m_devicePath, lastError);
    };
    const int fd = m_fd.load();
    if (fd < 0)
        fail(EBADF, __LINE__);
    const Deadline deadline =
        deadlineAfter(m_timeouts.readTotalConstantMs, m_timeouts.readTotalPerByteMs, count);
    std::size_t received = 0;
    while (received < count) {
        pollfd waitFor{fd, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, msUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            fail(errno, __LINE__);
        if (ready == 0)
            break; // time-out: the caller gets what arrived
        if (waitFor.revents & POLLNVAL)
            fail(EBADF, __LINE__);
        const ssize_t got = ::read(fd, buffer + received, count - received);
        if (got > 0)
            received += static_cast<std::size_t>(got);
        else if (got < 0 && errno != EAGAIN && errno != EINTR)
            fail(errno, __LINE__);
        else if (got == 0 && (waitFor.revents & (POLLHUP | POLLERR)))
            fail(EIO, __LINE__); // the line hung up (adapter unplugged)
    }
    return received;
}

std::size_t CSerialPort::write(const std::uint8_t* buffer, std::size_t count) {
    const auto fail = [this](int lastError, int line) {
        raiseError(CRSError::kOperationFailed,
                   "CSerialPort::write() - GetLastError()=" + std::to_string(lastError), line,
                   m_devicePath, lastError);
    };
    const int fd = m_fd.load();
    if (fd < 0)
        fail(EBADF, __LINE__);
    const Deadline deadline =
        deadlineAfter(m_timeouts.writeTotalConstantMs, m_timeouts.writeTotalPerByteMs, count);
    std::size_t sent = 0;
    while (sent < count) {
        const ssize_t put = ::write(fd, buffer + sent, count - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            fail(errno, __LINE__);
        pollfd waitFor{fd, POLLOUT, 0};
        const int ready = ::poll(&waitFor, 1, msUntil(deadline));
        if (ready < 0 && errno != EINTR)
            fail(errno, __LINE__);
        if (ready == 0)
            break; // the output is stuck: report how much went out
        if (ready > 0 && (waitFor.revents & (POLLERR | POLLNVAL)))
            fail(waitFor.revents & POLLNVAL ? EBADF : EIO, __LINE__);
    }
    return sent;
}

void CSerialPort::purgeIn() {
    if (tcflush(m_fd.load(), TCIFLUSH) != 0)
        raiseOperationError("purgeIn", errno, __LINE__);
}

int CSerialPort::clearCommError() {
    const int fd = m_fd.load();
    termios tio{};
    if (fd < 0)
        return EBADF;
    if (tcgetattr(fd, &tio) != 0)
        return errno;
    serial_icounter_struct counters{};
    if (ioctl(fd, TIOCGICOUNT, &counters) != 0)
        return 0; // the driver counts no line errors (pseudo-terminals, some adapters)
    const SLineCounters now{counters.buf_overrun, counters.overrun, counters.parity, counters.frame,
                            counters.brk};
    int errors = 0;
    if (now.bufferOverrun != m_lastCounters.bufferOverrun)
        errors |= kReceiveBufferOverrun;
    if (now.overrun != m_lastCounters.overrun)
        errors |= kHardwareOverrun;
    if (now.parity != m_lastCounters.parity)
        errors |= kParityError;
    if (now.frame != m_lastCounters.frame)
        errors |= kFramingError;
    if (now.brk != m_lastCounters.brk)
        errors |= kBreak;
    m_lastCounters = now;
    return errors;
}

void CSerialPort::raiseError(int code, const std::string& detail, int sourceLine,
                             const std::string& devicePath, int systemError) const {
    throw CRSError(code, detail, sourceLine, devicePath, systemError);
}

void CSerialPort::raiseOperationError(const char* call, int lastError, int sourceLine) {
    std::ostringstream detail;
    detail << "CSerialPort::" << call << "() \n GetLastError() = " << lastError
           << "\n clearCommError() = " << clearCommError();
    raiseError(CRSError::kOperationFailed, detail.str(), sourceLine, m_devicePath, lastError);
}

} // namespace torva
