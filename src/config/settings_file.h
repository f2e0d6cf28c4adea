#pragma once

#include "platform/atomic_file.h"
#include "platform/regular_file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torva {

// A settings file: one "key<TAB>value" line per value, CR LF line ends, ASCII text.
//
// Writing goes to a temporary file beside the target; commit() renames it over the target, so a
// failed or abandoned write never harms an existing file. Only regular files are written; a
// symbolic link is followed and its target replaced.
//
// Only a regular file of at most kMaxFileBytes is read: a settings file has about 2,600 short
// lines, and anything else (a FIFO, a device, a huge file) would hang the reader or fill memory.
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
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

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

    // Reads and indexes path; false when it cannot be opened or read, readFault() says why.
    bool open(const std::string& path, const KeyFilter& keysOfInterest = {});
    EFileReadFault readFault() const { return m_readFault; }
    int readError() const { return m_readError; }
    // The value after the tab of the key's first line; nullopt when the key is missing.
    std::optional<std::string> find(const std::string& key) const;
    // The number (from 1) of the key's first line, 0 when the key does not occur; and whether
    // that line was too long to read.
    std::size_t lineOf(const std::string& key) const;
    bool isOverlong(const std::string& key) const;
    // find, then the number the value starts with (0 when it starts with none).
    std::optional<double> findNumber(const std::string& key) const;

    // Why the last create() or commit() failed.
    const std::string& writeFailure() const { return m_output.failure(); }

    // Abandons an uncommitted write (removing its temporary file) and forgets the index.
    void close();
    const std::string& path() const { return m_path; }

    // First line of a key: its value (nullopt when that line has none), number and length.
    struct SFirstLine {
        std::optional<std::string> value;
        std::size_t number = 0;
        bool overlong = false;
    };

private:
    CAtomicFile m_output;
    bool m_writing = false;
    std::string m_path;
    EFileReadFault m_readFault = EFileReadFault::None;
    int m_readError = 0;
    std::unordered_map<std::string, SFirstLine> m_firstLines;
};

} // namespace torva
