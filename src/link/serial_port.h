#pragma once

#include "link/serial_io.h"
#include "link/serial_settings.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace torva {

// One serial port opened exclusively, raw and binary. Every failing system call becomes a
// CRSError: code 5 when the port cannot be opened, code 6 for any other operation. The port
// keeps no buffers and does no framing; the caller serialises reads, writes and purges.
class CSerialPort : public ISerialIo {
public:
    // Bits of the error word clearCommError returns: what went wrong on the line since the
    // previous query.
    enum ECommError : int {
        kReceiveBufferOverrun = 0x01,
        kHardwareOverrun = 0x02,
        kParityError = 0x04,
        kFramingError = 0x08,
        kBreak = 0x10,
    };

    CSerialPort() = default;
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device the port number names (see port_names.h), or a device by its path (a
    // pseudo-terminal, a by-id link). Any handle still open is closed first. A failure leaves
    // the port closed and the remembered number and path unchanged, and raises code 5.
    void open(int portNumber);
    void open(const std::string& devicePath);
    void close();
    bool isOpen() const { return m_fd.load() >= 0; }
    // Number and path of the last successful open; 0 when the path has no port number.
    int portNumber() const { return m_portNumber; }
    const std::string& devicePath() const { return m_devicePath; }
    // True when the open device is a pseudo-terminal whose other side has closed. Such a
    // terminal never comes back, and once it is closed here the system gives its number (and
    // so its name) to the next terminal any program makes.
    bool isHungUpPseudoTerminal() const;

    void setState(const SLineSettings& settings);
    void setTimeout(const STimeouts& timeouts);

    std::size_t read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t write(const std::uint8_t* buffer, std::size_t count) override;
    void purgeIn() override;
    // The ECommError bits seen since the last query, or the system error number when the port
    // cannot be queried (for instance when it is closed).
    int clearCommError() override;

private:
    struct SLineCounters {
        int bufferOverrun = 0;
        int overrun = 0;
        int parity = 0;
        int frame = 0;
        int brk = 0;
    };

    void openDevice(const std::string& path, int portNumber, const std::string& label);
    [[noreturn]] void raiseError(int code, const std::string& detail, int sourceLine,
                                 const std::string& devicePath, int systemError) const;
    // The detail of a failed configuration call: the call, the error, the line's error state.
    [[noreturn]] void raiseOperationError(const char* call, int lastError, int sourceLine);

    std::atomic<int> m_fd{-1};
    int m_portNumber = 0;
    std::string m_devicePath;
    STimeouts m_timeouts = kControllerTimeouts;
    SLineCounters m_lastCounters;
};

} // namespace torva
