#pragma once

#include <array>
#include <streambuf>

namespace torva::cli {

// Standard output that remembers why a write failed (a full device, a pipe whose reader has
// gone), so the tool can fail with a line saying so instead of reporting success. After a
// failure further output is dropped and the stream goes bad, which ends a running monitor.
class CCheckedOutput : public std::streambuf {
public:
    explicit CCheckedOutput(int fd) : m_fd(fd) {}
    ~CCheckedOutput() override;
    CCheckedOutput(const CCheckedOutput&) = delete;
    CCheckedOutput& operator=(const CCheckedOutput&) = delete;

    // The system's error of the first failed write; 0 while every write went through.
    int error() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool writeAll(const char* data, std::size_t size);
    bool flushBuffer();

    int m_fd;
    int m_error = 0;
    std::array<char, 16 * 1024> m_buffer{};
    std::size_t m_used = 0;
};

} // namespace torva::cli
