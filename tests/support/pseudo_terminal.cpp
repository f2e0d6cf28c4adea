#include "support/pseudo_terminal.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace torva::test {

CPseudoTerminal::CPseudoTerminal() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        const std::string reason = std::strerror(errno);
        closeMaster();
        throw std::runtime_error("no pseudo-terminal: " + reason);
    }
    m_slavePath = name;
}

CPseudoTerminal::~CPseudoTerminal() {
    closeMaster();
}

void CPseudoTerminal::send(const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (put < 0 && errno != EINTR)
            throw std::runtime_error(std::string("pseudo-terminal write: ") + std::strerror(errno));
        if (put > 0)
            sent += static_cast<std::size_t>(put);
    }
}

std::vector<std::uint8_t> CPseudoTerminal::receive(std::size_t count, int timeoutMs) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    std::vector<std::uint8_t> bytes(count);
    std::size_t got = 0;
    while (got < count) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd waitFor{m_master, POLLIN, 0};
        if (left <= 0 || ::poll(&waitFor, 1, static_cast<int>(left)) <= 0)
            break;
        const ssize_t n = ::read(m_master, bytes.data() + got, count - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

void CPseudoTerminal::closeMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

} // namespace torva::test
