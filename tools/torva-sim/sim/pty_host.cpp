#include "sim/pty_host.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace torva::sim {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

CPtyHost::CPtyHost() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        fail("posix_openpt");
    try {
        if (grantpt(m_master) != 0)
            fail("grantpt");
        if (unlockpt(m_master) != 0)
            fail("unlockpt");
        char name[128];
        if (ptsname_r(m_master, name, sizeof name) != 0)
            fail("ptsname_r");
        m_slavePath = name;
        m_slave = open(name, O_RDWR | O_NOCTTY);
        if (m_slave < 0)
            fail("open " + m_slavePath);
        // Raw: every byte passes unchanged in both directions, no echo, no line editing.
        termios settings{};
        if (tcgetattr(m_slave, &settings) != 0)
            fail("tcgetattr " + m_slavePath);
        cfmakeraw(&settings);
        cfsetispeed(&settings, B38400);
        cfsetospeed(&settings, B38400);
        if (tcsetattr(m_slave, TCSANOW, &settings) != 0)
            fail("tcsetattr " + m_slavePath);
        const int flags = fcntl(m_master, F_GETFL);
        if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
            fail("fcntl O_NONBLOCK");
    } catch (...) {
        if (m_slave >= 0)
            close(m_slave);
        close(m_master);
        throw;
    }
}

CPtyHost::~CPtyHost() {
    if (!m_linkPath.empty())
        unlink(m_linkPath.c_str());
    close(m_slave);
    close(m_master);
}

void CPtyHost::linkAt(const std::string& path) {
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            errno = EEXIST;
            fail("link " + path + " (not a symbolic link, left alone)");
        }
        if (unlink(path.c_str()) != 0)
            fail("replace link " + path);
    }
    if (symlink(m_slavePath.c_str(), path.c_str()) != 0)
        fail("link " + path);
    m_linkPath = path;
}

std::size_t CPtyHost::read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
    pollfd poller{m_master, POLLIN, 0};
    const int ready = poll(&poller, 1, timeoutMs);
    if (ready <= 0 || (poller.revents & POLLIN) == 0)
        return 0;
    const ssize_t got = ::read(m_master, buffer, capacity);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool CPtyHost::write(const std::uint8_t* data, std::size_t count) {
    std::size_t sent = 0;
    while (sent < count) {
        const ssize_t put = ::write(m_master, data + sent, count - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd poller{m_master, POLLOUT, 0};
        if (poll(&poller, 1, 1000) <= 0)
            return false;
    }
    return true;
}

} // namespace torva::sim
