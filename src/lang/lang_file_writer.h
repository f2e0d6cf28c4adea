#pragma once

#include <string>
#include <string_view>

namespace torva {

// Language files are kept in the sources as UTF-8 with LF line ends and shipped as UTF-16LE
// with a byte-order mark and CR LF line ends, the form the program reads.

// One entry line (without line end): the three fields escaped and joined by TABs.
std::string languageFileLine(std::string_view polish, std::string_view note,
                             std::string_view translation);

// UTF-8 text, lines ended by LF or CR LF, → the bytes of a language file. A last line without
// a line end gets one. Throws std::invalid_argument naming the line of malformed UTF-8.
std::string encodeLanguageFile(std::string_view utf8Text);

// Writes encodeLanguageFile(utf8Text) to path. Throws std::runtime_error naming the path.
void writeLanguageFile(const std::string& path, std::string_view utf8Text);

} // namespace torva
