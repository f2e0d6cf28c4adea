#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace torva {

struct SFirmwareFileContents {
    std::vector<std::uint8_t> payload; // includes the 60 bytes the reader drops
    std::uint16_t version = 0;
    std::uint16_t formatMarker = 0;
    std::string modelName; // UTF-8; at most 19 bytes once in code page 1250
};

// The bytes of a firmware file exactly as CFirmwareFile reads it: header, checksum and the
// two-bit rotation. Throws std::invalid_argument for a model name the header cannot hold.
std::vector<std::uint8_t> buildFirmwareFile(const SFirmwareFileContents& contents);

// Writes buildFirmwareFile's bytes to path; false when the file could not be written.
bool writeFirmwareFile(const std::string& path, const SFirmwareFileContents& contents);

} // namespace torva
