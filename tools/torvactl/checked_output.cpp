#include "checked_output.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace torva::cli {

CCheckedOutput::~CCheckedOutput() {
    flushBuffer();
}

bool CCheckedOutput::writeAll(const char* data, std::size_t size) {
    if (m_error != 0)
        return false;
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = written < 0 ? errno : EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CCheckedOutput::flushBuffer() {
    const std::size_t used = m_used;
    m_used = 0;
    return writeAll(m_buffer.data(), used);
}

CCheckedOutput::int_type CCheckedOutput::overflow(int_type c) {
    if (m_error != 0)
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return flushBuffer() ? traits_type::not_eof(c) : traits_type::eof();
    if (m_used == m_buffer.size() && !flushBuffer())
        return traits_type::eof();
    m_buffer[m_used++] = traits_type::to_char_type(c);
    return c;
}

std::streamsize CCheckedOutput::xsputn(const char* data, std::streamsize size) {
    if (m_error != 0)
        return 0;
    const auto count = static_cast<std::size_t>(size);
    if (m_used + count <= m_buffer.size()) {
        std::memcpy(m_buffer.data() + m_used, data, count);
        m_used += count;
        return size;
    }
    if (!flushBuffer() || !writeAll(data, count))
        return 0;
    return size;
}

int CCheckedOutput::sync() {
    return flushBuffer() ? 0 : -1;
}

} // namespace torva::cli
