#include "config/firmware_file.h"

#include "config/code_page_1250.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <fstream>
#include <numeric>

namespace torva {

namespace fl = firmware_layout;

namespace {

std::uint32_t readU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::vector<std::uint8_t> decoded(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out(bytes.size());
    std::transform(bytes.begin(), bytes.end(), out.begin(), firmwareDecodeByte);
    return out;
}

// The name field need not hold its terminating zero: never look past its 19 bytes.
std::string modelName(const std::uint8_t* field) {
    const auto* end = std::find(field, field + fl::kModelSize, 0);
    return cp1250ToUtf8(std::string(field, end));
}

} // namespace

std::uint16_t firmwareChecksum(std::span<const std::uint8_t> header,
                               std::span<const std::uint8_t> payload) {
    // The payload count is held in 16 bits by the format: only N mod 65536 bytes are summed.
    const std::size_t counted = payload.size() % 0x10000;
    std::uint32_t headerSum = 1;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (i != fl::kChecksumOffset && i != fl::kChecksumOffset + 1)
            headerSum += header[i];
    }
    const std::uint32_t payloadSum =
        std::accumulate(payload.begin(), payload.begin() + counted, std::uint32_t{1});
    return static_cast<std::uint16_t>(headerSum + payloadSum);
}

SFirmwareLoadResult CFirmwareFile::load(const std::string& path) {
    unload();
    // A FIFO would keep the open waiting for a writer.
    std::ifstream in;
    if (isRegularFile(path))
        in.open(path, std::ios::binary);
    if (!in.is_open()) {
        SFirmwareLoadResult result;
        result.failure = EFirmwareLoadFailure::CannotOpen;
        return result;
    }
    // A longer payload is refused anyway, so reading stops at the buffer's size.
    std::vector<std::uint8_t> bytes(fl::kHeaderSize + fl::kImageCapacity);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return loadBytes(bytes);
}

SFirmwareLoadResult CFirmwareFile::loadBytes(std::span<const std::uint8_t> fileBytes) {
    unload();
    SFirmwareLoadResult result;
    if (fileBytes.size() < fl::kHeaderSize) {
        result.failure = EFirmwareLoadFailure::HeaderTooShort;
        return result;
    }
    const auto header = decoded(fileBytes.first(fl::kHeaderSize));
    const std::uint32_t length = readU32(&header[fl::kLengthOffset]);
    result.version = readU16(&header[fl::kVersionOffset]);
    result.formatMarker = readU16(&header[fl::kMarkerOffset]);
    result.modelName = modelName(&header[fl::kModelOffset]);

    const auto available = fileBytes.size() - fl::kHeaderSize;
    if (length > fl::kImageCapacity) {
        result.failure = EFirmwareLoadFailure::PayloadTooLarge;
        return result;
    }
    if (length > available) {
        result.failure = EFirmwareLoadFailure::PayloadTruncated;
        return result;
    }
    if (length <= fl::kGapOffset + fl::kGapSize) {
        result.failure = EFirmwareLoadFailure::PayloadTooShort;
        return result;
    }
    const auto payload = decoded(fileBytes.subspan(fl::kHeaderSize, length));
    if (firmwareChecksum(header, payload) != readU16(&header[fl::kChecksumOffset])) {
        result.failure = EFirmwareLoadFailure::ChecksumMismatch;
        return result;
    }

    m_image.assign(fl::kImageCapacity, 0);
    const auto afterGap = payload.begin() + fl::kGapOffset + fl::kGapSize;
    const auto gapEnd =
        std::copy(payload.begin(), payload.begin() + fl::kGapOffset, m_image.begin());
    std::copy(afterGap, payload.end(), gapEnd);
    m_imageLength = length - fl::kGapSize;
    m_frameCount = (m_imageLength + fl::kFrameSize - 1) / fl::kFrameSize;
    m_loaded = true;
    result.ok = true;
    return result;
}

void CFirmwareFile::unload() {
    m_image.clear();
    m_image.shrink_to_fit();
    m_imageLength = 0;
    m_frameCount = 0;
    m_loaded = false;
}

} // namespace torva
