#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace torva {

// The raw byte channel the frame exchange runs over. CSerialPort is the real one (a tty);
// tests substitute scripted fakes so failure paths run without waiting on real time-outs.
class ISerialIo {
public:
    virtual ~ISerialIo() = default;
    // Reads up to count bytes, waiting at most 1000 ms + 1 ms per requested byte in all;
    // returns the number received (a time-out is not an error). Raises CRSError on failure.
    virtual std::size_t read(std::uint8_t* buffer, std::size_t count) = 0;
    // Writes count bytes; raises CRSError on failure.
    virtual std::size_t write(const std::uint8_t* buffer, std::size_t count) = 0;
    // Discards everything already received.
    virtual void purgeIn() = 0;
    // Queries and clears the line's error state; never raises.
    virtual int clearCommError() = 0;
};

} // namespace torva
