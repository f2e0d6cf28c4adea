#include "json_output.h"

#include <iostream>

namespace torva::cli {

void printJson(const nlohmann::json& value) {
    std::cout << value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
}

std::string printableText(const std::string& text) {
    std::string printable = text;
    for (char& c : printable) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return printable;
}

} // namespace torva::cli
