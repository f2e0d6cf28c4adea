#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

// One language file, read whole when opened and kept in memory for the run.
// Lookups give the same results as reading the file from its start on every call: the first
// entry whose Polish field matches wins.
class CLangFile {
public:
    // Lines longer than this (in UTF-16 units) are read in pieces, each piece a line of its own.
    static constexpr std::size_t kMaxLineUnits = 2047;

    // Reads the file at path; false (and no file) when it cannot be read.
    bool open(const std::string& path);
    // The same from the file's bytes: UTF-16LE whose first two bytes (the byte-order mark) are
    // skipped unread.
    void load(std::string_view bytes, std::string path = {});

    bool isOpen() const { return m_open; }
    const std::string& path() const { return m_path; }
    std::size_t entryCount() const { return m_entries.size(); }

    // The unescaped translation of the first entry whose unescaped Polish field equals text.
    std::optional<std::string> find(std::string_view text) const;

private:
    void addLine(std::u16string_view line);

    bool m_open = false;
    std::string m_path;
    std::map<std::string, std::string, std::less<>> m_entries;
};

} // namespace torva
