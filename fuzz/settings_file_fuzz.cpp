// The settings file reader on arbitrary file contents, for a 24-volt and a 12-volt controller.
#include "fuzz_input.h"

#include "config/device_type.h"
#include "config/settings_io.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// The reader takes a path: the input goes to a file of this process's own.
const std::string& inputPath() {
    static const std::string path = "/tmp/torva-settings-fuzz-" + std::to_string(::getpid());
    return path;
}

bool writeInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!writeInput(data, size))
        return 0;
    for (const std::uint8_t liveType : {torva::kDeviceType25, torva::kDeviceType3}) {
        torva::CDeviceConfig destination(liveType);
        torva::readSettings(inputPath(), destination, liveType);
    }
    std::remove(inputPath().c_str());
    return 0;
}
