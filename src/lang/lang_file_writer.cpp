#include "lang/lang_file_writer.h"

#include "lang/field_escapes.h"
#include "lang/utf16.h"

#include <fstream>
#include <stdexcept>

namespace torva {

namespace {

void appendUnit(std::string& out, char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

} // namespace

std::string languageFileLine(std::string_view polish, std::string_view note,
                             std::string_view translation) {
    return escapeField(polish) + '\t' + escapeField(note) + '\t' + escapeField(translation);
}

std::string encodeLanguageFile(std::string_view utf8Text) {
    std::string out;
    appendUnit(out, u'\xFEFF');
    std::size_t start = 0;
    int lineNumber = 1;
    while (start < utf8Text.size()) {
        const std::size_t lf = utf8Text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? utf8Text.size() : lf;
        std::string_view line = utf8Text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        try {
            for (char16_t unit : utf8ToUtf16(line))
                appendUnit(out, unit);
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument("line " + std::to_string(lineNumber) + ": " + error.what());
        }
        appendUnit(out, u'\r');
        appendUnit(out, u'\n');
        start = end + 1;
        ++lineNumber;
    }
    return out;
}

void writeLanguageFile(const std::string& path, std::string_view utf8Text) {
    const std::string bytes = encodeLanguageFile(utf8Text);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the language file " + path);
}

} // namespace torva
