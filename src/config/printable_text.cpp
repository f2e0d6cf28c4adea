#include "config/printable_text.h"

#include <cstdio>

namespace torva {

namespace {

bool isPrintable(unsigned char byte) {
    // The control characters, DEL, and the five bytes code page 1250 leaves undefined.
    if (byte < 0x20 || byte == 0x7F)
        return false;
    return byte != 0x81 && byte != 0x83 && byte != 0x88 && byte != 0x90 && byte != 0x98;
}

} // namespace

std::string escapeUnprintable(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (isPrintable(byte)) {
            escaped += c;
            continue;
        }
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", byte);
        escaped += code;
    }
    return escaped;
}

} // namespace torva
