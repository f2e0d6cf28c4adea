#include "frame_log.h"

#include <cstdio>

namespace torva::cli {

CFrameLoggingIo::CFrameLoggingIo(std::unique_ptr<ISerialIo> inner, std::ostream& log)
    : m_inner(std::move(inner)), m_log(log) {}

CFrameLoggingIo::~CFrameLoggingIo() {
    flushReceived();
}

std::size_t CFrameLoggingIo::read(std::uint8_t* buffer, std::size_t count) {
    const std::size_t received = m_inner->read(buffer, count);
    m_received.insert(m_received.end(), buffer, buffer + received);
    return received;
}

std::size_t CFrameLoggingIo::write(const std::uint8_t* buffer, std::size_t count) {
    flushReceived();
    logLine("tx", buffer, count);
    return m_inner->write(buffer, count);
}

void CFrameLoggingIo::purgeIn() {
    flushReceived();
    m_inner->purgeIn();
}

int CFrameLoggingIo::clearCommError() {
    return m_inner->clearCommError();
}

void CFrameLoggingIo::flushReceived() {
    if (m_received.empty())
        return;
    logLine("rx", m_received.data(), m_received.size());
    m_received.clear();
}

void CFrameLoggingIo::logLine(const char* direction, const std::uint8_t* bytes, std::size_t count) {
    std::string line = direction;
    line += ':';
    for (std::size_t i = 0; i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        line += hex;
    }
    m_log << line << std::endl;
}

} // namespace torva::cli
