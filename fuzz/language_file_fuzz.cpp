// The language file reader on arbitrary file contents, and a lookup in what it read.
#include "fuzz_input.h"

#include "lang/lang_file.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torva::CLangFile file;
    file.load(std::string_view(reinterpret_cast<const char*>(data), size));
    file.find("Odczyty");
    return 0;
}
