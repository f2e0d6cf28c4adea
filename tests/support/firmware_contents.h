#pragma once

#include "config/firmware_file.h"
#include "config/firmware_file_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace torva {

// Image offset of controller address 0x2000, where the programmed frames start.
constexpr std::size_t kFirmwareProgramOffset = 16384;

// A firmware file whose image fills `frames` frames after the program start with a pattern;
// every fourth byte is zero because the controller keeps only three bytes of each program word.
// The bytes the file format drops are filled with 0xA5 so a reader that keeps them shows up.
inline SFirmwareFileContents patternFirmwareContents(std::size_t frames, std::uint16_t version,
                                                     std::string modelName) {
    std::vector<std::uint8_t> image(kFirmwareProgramOffset + frames * firmware_layout::kFrameSize);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = i % 4 == 3 ? 0 : static_cast<std::uint8_t>(i * 7 + 1);
    SFirmwareFileContents contents;
    contents.payload.assign(image.begin(), image.begin() + firmware_layout::kGapOffset);
    contents.payload.insert(contents.payload.end(), firmware_layout::kGapSize, 0xA5);
    contents.payload.insert(contents.payload.end(), image.begin() + firmware_layout::kGapOffset,
                            image.end());
    contents.version = version;
    contents.formatMarker = kFirmwareFormatMarker;
    contents.modelName = std::move(modelName);
    return contents;
}

} // namespace torva
