#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace torva::test {

// A pseudo-terminal pair: the test holds the master end and plays the controller; the code
// under test opens the slave path as its serial port.
class CPseudoTerminal {
public:
    CPseudoTerminal(); // throws std::runtime_error when no pseudo-terminal can be had
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    // Bytes the slave end will receive.
    void send(const std::vector<std::uint8_t>& bytes);
    // Up to count bytes the slave end sent, waiting at most timeoutMs for all of them.
    std::vector<std::uint8_t> receive(std::size_t count, int timeoutMs);
    // Hangs up: the slave's next read fails.
    void closeMaster();

private:
    int m_master = -1;
    std::string m_slavePath;
};

} // namespace torva::test
