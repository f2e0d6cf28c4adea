#include "lang/lang_file.h"

#include "lang/field_escapes.h"
#include "lang/utf16.h"

#include <fstream>
#include <iterator>

namespace torva {

bool CLangFile::open(const std::string& path) {
    *this = CLangFile{};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    load(bytes, path);
    return true;
}

void CLangFile::load(std::string_view bytes, std::string path) {
    m_entries.clear();
    m_path = std::move(path);
    m_open = true;

    const std::size_t body = bytes.size() < 2 ? 0 : bytes.size() - 2;
    std::u16string units(body / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 + 2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[3 + 2 * i]);
        units[i] = static_cast<char16_t>(lo | (hi << 8));
    }

    // A line runs up to and including its LF, or ends after kMaxLineUnits units.
    std::size_t start = 0;
    while (start < units.size()) {
        std::size_t end = start;
        while (end < units.size() && end - start < kMaxLineUnits && units[end] != u'\n')
            ++end;
        if (end < units.size() && units[end] == u'\n' && end - start < kMaxLineUnits)
            ++end;
        std::u16string_view line(units.data() + start, end - start);
        start = end;
        if (!line.empty() && line.back() == u'\n') {
            line.remove_suffix(1);
            if (!line.empty() && line.back() == u'\r')
                line.remove_suffix(1);
        }
        addLine(line);
    }
}

void CLangFile::addLine(std::u16string_view line) {
    const std::size_t firstTab = line.find(u'\t');
    if (firstTab == std::u16string_view::npos)
        return;
    const std::size_t secondTab = line.find(u'\t', firstTab + 1);
    if (secondTab == std::u16string_view::npos)
        return;
    // try_emplace keeps an earlier entry: the first match wins.
    m_entries.try_emplace(unescapeField(utf16ToUtf8(line.substr(0, firstTab))),
                          unescapeField(utf16ToUtf8(line.substr(secondTab + 1))));
}

std::optional<std::string> CLangFile::find(std::string_view text) const {
    const auto it = m_entries.find(text);
    if (it == m_entries.end())
        return std::nullopt;
    return it->second;
}

} // namespace torva
