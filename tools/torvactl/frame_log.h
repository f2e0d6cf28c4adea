#pragma once

#include "link/serial_io.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

namespace torva::cli {

// --verbose: every frame sent ("tx") and received ("rx") as one hex line on a stream. A write is
// one frame; the bytes read for one answer come in pieces and are shown together once the next
// request goes out or the line is purged.
class CFrameLoggingIo : public ISerialIo {
public:
    CFrameLoggingIo(std::unique_ptr<ISerialIo> inner, std::ostream& log);
    ~CFrameLoggingIo() override;

    std::size_t read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t write(const std::uint8_t* buffer, std::size_t count) override;
    void purgeIn() override;
    int clearCommError() override;

private:
    void flushReceived();
    void logLine(const char* direction, const std::uint8_t* bytes, std::size_t count);

    std::unique_ptr<ISerialIo> m_inner;
    std::ostream& m_log;
    std::vector<std::uint8_t> m_received;
};

} // namespace torva::cli
