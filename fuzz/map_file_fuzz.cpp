// The map-file reader (torvactl map load) on arbitrary text, for a time and an emulation map.
#include "fuzz_input.h"

#include "config/maps/map_file.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const int map : {1, 2})
        torva::parseMapFile(text, torva::mapInfo(map), "fuzz");
    return 0;
}
