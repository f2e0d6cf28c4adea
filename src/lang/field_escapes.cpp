#include "lang/field_escapes.h"

namespace torva {

std::string unescapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            const char next = field[i + 1];
            const char plain = next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : 0;
            if (plain) {
                out += plain;
                ++i;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string escapeField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace torva
