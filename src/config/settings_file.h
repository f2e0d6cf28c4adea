#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torva {

// A settings file: one "key<TAB>value" line per value, CR LF line ends, ASCII text.
//
// Writing goes to a temporary file beside the target; commit() renames it over the target, so a
// failed or abandoned write never harms an existing file.
//
// Reading indexes the file in one pass. Lookups behave as if each key were searched from the top
// of the file: the first line carrying a key decides, and when that line has nothing after the
// tab the key counts as missing even if it occurs again further down. CR LF, LF and lone CR all
// end a line, and only those characters are stripped, so no CR ends up inside a value and a last
// line without a line end keeps all of its characters.
class CSettingsFile {
public:
    // Lines longer than this (line end not counted) do not occur in files the tool writes; the
    // key of such a line counts as present but unreadable, i.e. missing, and later lines of the
    // same key are not consulted.
    static constexpr std::size_t kMaxLineLength = 511;

    // Which keys a reader will ask for; others are not indexed, which bounds the memory a large
    // or hostile file can take.
    using KeyFilter = std::function<bool(std::string_view key)>;

    CSettingsFile() = default;
    ~CSettingsFile();
    CSettingsFile(const CSettingsFile&) = delete;
    CSettingsFile& operator=(const CSettingsFile&) = delete;

    // Starts writing a file that will replace path on commit(). False when the temporary file
    // cannot be created (missing or read-only folder).
    bool create(const std::string& path);
    // Write one line; false when the line could not be written. Line ends inside a text value
    // become spaces: the value must not start a line of its own.
    bool writeText(const std::string& key, const std::string& value);
    bool writeNumber(const std::string& key, double value);
    bool writeInteger(const std::string& key, std::int64_t value);
    // Puts the written file in place of the target. False, with the target untouched, when any
    // line, the flush or the rename failed.
    bool commit();

    // Reads and indexes path; false when it cannot be opened or read.
    bool open(const std::string& path, const KeyFilter& keysOfInterest = {});
    // The value after the tab of the key's first line; nullopt when the key is missing.
    std::optional<std::string> find(const std::string& key) const;
    // find, then the number the value starts with (0 when it starts with none).
    std::optional<double> findNumber(const std::string& key) const;

    // Abandons an uncommitted write (removing its temporary file) and forgets the index.
    void close();
    const std::string& path() const { return m_path; }

private:
    std::FILE* m_file = nullptr; // the temporary file while writing
    std::string m_path;
    std::string m_temporaryPath;
    bool m_writeFailed = false;
    // First line of each key; nullopt when that line has no usable value.
    std::unordered_map<std::string, std::optional<std::string>> m_firstLines;
};

} // namespace torva
