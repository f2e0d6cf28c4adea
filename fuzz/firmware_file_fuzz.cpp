// The firmware file reader on arbitrary file contents.
#include "fuzz_input.h"

#include "config/firmware_file.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torva::CFirmwareFile file;
    const torva::SFirmwareLoadResult result = file.loadBytes(std::span(data, size));
    if (result.ok && file.image().size() < file.frameCount() * torva::firmware_layout::kFrameSize)
        __builtin_trap(); // the frames programmed must lie inside the image
    return 0;
}
