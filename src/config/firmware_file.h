#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace torva {

// The firmware file (.afm) stores every byte rotated left by two bits.
constexpr std::uint8_t firmwareEncodeByte(std::uint8_t b) {
    return static_cast<std::uint8_t>((b << 2) | (b >> 6));
}
constexpr std::uint8_t firmwareDecodeByte(std::uint8_t b) {
    return static_cast<std::uint8_t>((b >> 2) | (b << 6));
}

// Layout of the decoded file: a 40-byte header followed by N payload bytes.
namespace firmware_layout {
constexpr std::size_t kHeaderSize = 40;
constexpr std::size_t kLengthOffset = 0;  // u32 LE: payload length N
constexpr std::size_t kVersionOffset = 4; // u16 LE: same encoding as the controller's version
constexpr std::size_t kMarkerOffset = 6;  // u16 LE: format marker
constexpr std::size_t kModelOffset = 19;  // code page 1250 text, zero-terminated when shorter
constexpr std::size_t kModelSize = 19;
constexpr std::size_t kChecksumOffset = 38; // u16 LE
// The payload bytes 8320-8379 are not part of the program image.
constexpr std::size_t kGapOffset = 8320;
constexpr std::size_t kGapSize = 60;
// The image buffer; at most this many payload bytes are read.
constexpr std::size_t kImageCapacity = 0x80000;
constexpr std::size_t kFrameSize = 256;
} // namespace firmware_layout

// The only format this program can write to a controller.
constexpr std::uint16_t kFirmwareFormatMarker = 0x0101;

// Checksum of a decoded header (its checksum field counts as zero) and its payload.
std::uint16_t firmwareChecksum(std::span<const std::uint8_t> header,
                               std::span<const std::uint8_t> payload);

enum class EFirmwareLoadFailure {
    None,
    CannotOpen,       // missing or unreadable file
    HeaderTooShort,   // fewer than 40 bytes
    PayloadTooLarge,  // N above the image buffer: never readable in full
    PayloadTruncated, // the file holds fewer than N payload bytes
    PayloadTooShort,  // N not above the dropped gap's end (8380)
    ChecksumMismatch,
};

// What a load tells its caller. The header fields are filled whenever the header could be read,
// so a refused file can still be described.
struct SFirmwareLoadResult {
    bool ok = false;
    EFirmwareLoadFailure failure = EFirmwareLoadFailure::None;
    std::string modelName; // UTF-8
    std::uint16_t formatMarker = 0;
    std::uint16_t version = 0;
};

// A firmware image ready to be programmed: the payload without its dropped gap, in a buffer of
// firmware_layout::kImageCapacity bytes that is zero beyond the image.
class CFirmwareFile {
public:
    SFirmwareLoadResult load(const std::string& path);
    // The same from the file's raw (still rotated) bytes.
    SFirmwareLoadResult loadBytes(std::span<const std::uint8_t> fileBytes);

    bool loaded() const { return m_loaded; }
    // The whole buffer (empty until a load succeeds).
    const std::vector<std::uint8_t>& image() const { return m_image; }
    std::size_t imageLength() const { return m_imageLength; }
    std::size_t frameCount() const { return m_frameCount; }

private:
    void unload();

    std::vector<std::uint8_t> m_image;
    std::size_t m_imageLength = 0;
    std::size_t m_frameCount = 0;
    bool m_loaded = false;
};

} // namespace torva
