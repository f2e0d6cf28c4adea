#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace torva::sim {

// The controller's end of a pseudo-terminal pair. The client opens slavePath() as if it were a
// serial port; the host keeps a slave descriptor of its own so the line stays usable (and raw)
// while clients come and go.
class CPtyHost {
public:
    // Opens the pair; throws std::runtime_error naming the failing call.
    CPtyHost();
    ~CPtyHost();
    CPtyHost(const CPtyHost&) = delete;
    CPtyHost& operator=(const CPtyHost&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    // Makes a symbolic link at path to the slave; an existing symbolic link there is replaced,
    // anything else makes it throw. The link is removed again with the host.
    void linkAt(const std::string& path);
    const std::string& linkPath() const { return m_linkPath; }

    // Reads what has arrived, waiting at most timeoutMs for the first byte; 0 on time-out.
    std::size_t read(std::uint8_t* buffer, std::size_t capacity, int timeoutMs);
    // Writes all bytes unless the line stays blocked for a second; false then.
    bool write(const std::uint8_t* data, std::size_t count);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};

} // namespace torva::sim
