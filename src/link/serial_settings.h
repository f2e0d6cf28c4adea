#pragma once

#include <cstdint>

namespace torva {

enum class EParity { None, Odd, Even };

// Line settings of a serial port. The port always runs raw and binary: no echo, no line editing,
// no translation of bytes, no replacement or dropping of NUL or faulty bytes.
struct SLineSettings {
    int baudRate;
    int dataBits;
    EParity parity;
    int stopBits;
    bool rtsCtsFlow;  // hardware output flow control
    bool xonXoffFlow; // software flow control, both directions
    std::uint8_t xonChar;
    std::uint8_t xoffChar;
    bool dtrOn; // modem control lines; held off for the controller's interface
    bool rtsOn;
};

// Time-outs of one read or write call: a constant plus a share per requested byte. A call that
// runs out of time returns with what it managed; that is not an error.
struct STimeouts {
    int readTotalConstantMs;
    int readTotalPerByteMs;
    int writeTotalConstantMs;
    int writeTotalPerByteMs;
};

// The controller's line: 38400 8N1, no flow control of any kind, DTR and RTS off.
inline constexpr SLineSettings kControllerLine{
    .baudRate = 38400,
    .dataBits = 8,
    .parity = EParity::None,
    .stopBits = 1,
    .rtsCtsFlow = false,
    .xonXoffFlow = false,
    .xonChar = 0x11,
    .xoffChar = 0x13,
    .dtrOn = false,
    .rtsOn = false,
};

// A read of n bytes returns at the latest 1000 + n ms after it began. Writes get a bound of the
// same order so a stuck adapter cannot hang the exchange.
inline constexpr STimeouts kControllerTimeouts{
    .readTotalConstantMs = 1000,
    .readTotalPerByteMs = 1,
    .writeTotalConstantMs = 1000,
    .writeTotalPerByteMs = 1,
};

} // namespace torva
