// The diagnostic recording reader on arbitrary text.
#include "fuzz_input.h"

#include "diag/diag_file_reader.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    torva::parseDiagRecords(text);
    return 0;
}
