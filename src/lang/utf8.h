#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

// Appends the UTF-8 form of one code point (at most U+10FFFF) to out.
void appendUtf8(std::string& out, char32_t cp);

// Decodes the UTF-8 sequence at text[pos] and moves pos past it. std::nullopt when the sequence
// is malformed: a stray or missing continuation byte, a cut-off end, an overlong form, a
// surrogate or a value past U+10FFFF; pos is then undefined.
std::optional<char32_t> nextUtf8CodePoint(std::string_view text, std::size_t& pos);

} // namespace torva
