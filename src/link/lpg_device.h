#pragma once

#include "config/device_config.h"
#include "diag/diag_data.h"
#include "link/frame_codec.h"
#include "link/serial_io.h"
#include "link/serial_port.h"
#include "platform/mutex.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace torva {

// The one gateway to the controller for the whole run: it owns the serial channel, serialises
// every request/response exchange on it, and carries the link's state.
class CLPGDevice {
public:
    // ---- Construction -------------------------------------------------------------------------
    // Owns a CSerialPort unless another channel is given (tests pass scripted ones). Becomes the
    // device theDevice() returns until it is destroyed.
    explicit CLPGDevice(std::unique_ptr<ISerialIo> io = nullptr);
    ~CLPGDevice();
    CLPGDevice(const CLPGDevice&) = delete;
    CLPGDevice& operator=(const CLPGDevice&) = delete;

    // ---- Serial channel -----------------------------------------------------------------------
    ISerialIo& serialIo() { return *m_io; }
    // The owned real port, or nullptr when another channel was given.
    CSerialPort* serialPort() { return m_port; }

    // ---- Link flags ---------------------------------------------------------------------------
    // Demo: the system runs without a controller and no command touches the wire.
    bool isDemo() const { return m_demo.load(); }
    void setDemo(bool demo) { m_demo.store(demo); }
    // Connected: identification succeeded and the polling thread has not lost the controller.
    bool isConnected() const { return m_connected.load(); }
    void setConnected(bool connected) { m_connected.store(connected); }
    // Live diagnostics available: true from construction; identification sets it from the
    // controller's answer. Polling starts only while it is true.
    bool hasLiveDiagnostics() const { return m_liveDiagnostics.load(); }
    void setLiveDiagnostics(bool available) { m_liveDiagnostics.store(available); }

    // ---- Configuration record -----------------------------------------------------------------
    // The live configuration of the connected controller (identity in m_devInfo); every page
    // reads and edits this copy.
    CDeviceConfig& config() { return m_config; }
    const CDeviceConfig& config() const { return m_config; }

    // ---- Frame exchange -----------------------------------------------------------------------
    // Size of the buffer every caller of an exchange owns.
    static constexpr std::size_t kExchangeBufferSize = frame::kBufferSize;
    // transactStrict's results.
    static constexpr int kStrictOk = 0;
    static constexpr int kStrictFailed = 2;

    // Sends command with the first `length` bytes of buffer as payload and reads the answer.
    // True when a valid answer arrived: command then holds the response code, length the
    // response payload length, buffer the payload, its two checksum bytes, and zeros beyond.
    // Otherwise the outputs are unchanged and the buffer content is undefined. The payload is
    // scrambled in place, so a retry must rebuild it. Serial faults raise CRSError.
    bool transact(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length);
    // The live-sample exchange: as transact, but stale input is also discarded before the
    // request, nothing waits after a failure, the answer's payload must arrive in one read, and
    // its checksum has no constant 1. Returns kStrictOk with length = payload length + 2, or
    // kStrictFailed.
    int transactStrict(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length);

    // Held for exactly one exchange; GUI commands and polls interleave only between exchanges.
    CMSGMutex& exchangeMutex() { return m_exchangeMutex; }
    // Where the random word of each request frame comes from (default: rand(), 15 bits).
    using RandomSource = std::function<std::uint16_t()>;
    void setRandomSource(RandomSource source);

    // ---- Live samples -------------------------------------------------------------------------
    // The store the polling thread fills and the pages read; it lives as long as the device.
    CDiagData& diagData() { return m_diagData; }
    // Closes the owned port and opens the same device again with the controller's line settings
    // and time-outs, without identification, under the exchange mutex (so no exchange of another
    // thread is cut). False when that fails or the device has no port of its own.
    bool reOpen();

private:
    // ---- Serial channel and frame exchange ---------------------------------------------------
    std::unique_ptr<ISerialIo> m_io;
    CSerialPort* m_port = nullptr;
    CMSGMutex m_exchangeMutex;
    RandomSource m_random;

    // ---- Link flags ---------------------------------------------------------------------------
    std::atomic<bool> m_demo{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_liveDiagnostics{true};

    // ---- Configuration record -----------------------------------------------------------------
    CDeviceConfig m_config;

    // ---- Live samples -------------------------------------------------------------------------
    CDiagData m_diagData;
};

// The device of the running application (set by its constructor), or nullptr.
CLPGDevice* theDevice();

} // namespace torva
