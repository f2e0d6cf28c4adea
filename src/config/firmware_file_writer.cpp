#include "config/firmware_file_writer.h"

#include "config/code_page_1250.h"
#include "config/firmware_file.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace torva {

namespace fl = firmware_layout;

namespace {

void putU16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint16_t value) {
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

std::vector<std::uint8_t> buildFirmwareFile(const SFirmwareFileContents& contents) {
    const auto name = utf8ToCp1250(contents.modelName);
    if (!name)
        throw std::invalid_argument("firmware model name not storable in code page 1250: " +
                                    contents.modelName);
    if (name->size() > fl::kModelSize)
        throw std::invalid_argument("firmware model name longer than 19 bytes: " +
                                    contents.modelName);
    if (contents.payload.size() > 0xFFFFFFFFu)
        throw std::invalid_argument("firmware payload longer than a 32-bit length");

    std::vector<std::uint8_t> out(fl::kHeaderSize);
    const auto length = static_cast<std::uint32_t>(contents.payload.size());
    for (int i = 0; i < 4; ++i)
        out[fl::kLengthOffset + i] = static_cast<std::uint8_t>(length >> (8 * i));
    putU16(out, fl::kVersionOffset, contents.version);
    putU16(out, fl::kMarkerOffset, contents.formatMarker);
    std::copy(name->begin(), name->end(), out.begin() + fl::kModelOffset);
    putU16(out, fl::kChecksumOffset, firmwareChecksum(out, contents.payload));

    out.insert(out.end(), contents.payload.begin(), contents.payload.end());
    std::transform(out.begin(), out.end(), out.begin(), firmwareEncodeByte);
    return out;
}

bool writeFirmwareFile(const std::string& path, const SFirmwareFileContents& contents) {
    const auto bytes = buildFirmwareFile(contents);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace torva
