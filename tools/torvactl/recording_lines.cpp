#include "recording_lines.h"

#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace torva::cli {

CRecordingLines::~CRecordingLines() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CRecordingLines::open(const std::string& path, std::string& failure) {
    EFileReadFault fault = EFileReadFault::None;
    int error = 0;
    m_fd = openRegularFile(path, fault, error);
    if (m_fd < 0)
        failure = path + ": " + describeFileReadFault(fault, error);
    return m_fd >= 0;
}

bool CRecordingLines::fill() {
    while (true) {
        const ssize_t got = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_failure = std::strerror(errno);
        m_start = 0;
        m_end = got > 0 ? static_cast<std::size_t>(got) : 0;
        m_atEnd = got <= 0;
        return got > 0;
    }
}

bool CRecordingLines::readLine() {
    m_line.clear();
    m_overlong = false;
    bool any = false;
    while (true) {
        if (m_start == m_end && (m_atEnd || !fill()))
            return any;
        any = true;
        const char* begin = m_buffer.data() + m_start;
        const void* found = std::memchr(begin, '\n', m_end - m_start);
        const std::size_t length =
            found ? static_cast<const char*>(found) - begin : m_end - m_start;
        const std::size_t room = kMaxLineLength - std::min(kMaxLineLength, m_line.size());
        m_line.append(begin, std::min(length, room));
        m_overlong = m_overlong || length > room;
        m_start += length;
        if (found) {
            ++m_start; // the line feed
            return true;
        }
    }
}

bool CRecordingLines::parse(const std::string& line, Row& row) {
    std::size_t column = 0;
    std::size_t start = 0;
    const std::size_t end = !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
    while (start <= end) {
        std::size_t tab = line.find('\t', start);
        if (tab == std::string::npos || tab > end)
            tab = end;
        std::size_t first = start;
        std::size_t last = tab;
        while (first < last && line[first] == ' ')
            ++first;
        while (last > first && line[last - 1] == ' ')
            --last;
        double value = 0;
        const auto [stop, error] = std::from_chars(line.data() + first, line.data() + last, value);
        if (column == row.size() || first == last || error != std::errc() ||
            stop != line.data() + last || !std::isfinite(value))
            return false;
        row[column++] = value;
        start = tab + 1;
    }
    return column == row.size();
}

bool CRecordingLines::next(Row& row) {
    while (readLine()) {
        ++m_lineNumber;
        if (!m_overlong && parse(m_line, row))
            return true;
        if (m_skipped++ == 0)
            m_firstSkippedLine = m_lineNumber;
    }
    return false;
}

} // namespace torva::cli
