#pragma once

#include "diag/diag_file_reader.h"

#include <array>
#include <cstddef>
#include <string>

namespace torva::cli {

// A recording read line by line for conversion: a line is a row only when it holds exactly 28
// numbers separated by tabs. Any other line -- a number more or less, an empty field, a word, a
// line far longer than a recorder writes -- is skipped and counted, and the rows after it stay
// whole. (The charts page reads the same files as a stream of numbers instead.) Memory stays
// bounded whatever the file holds.
class CRecordingLines {
public:
    using Row = std::array<double, kDiagColumns>; // in file order, columns 1-28

    // Longer lines are no recording lines; a recorder's line is about 150 characters.
    static constexpr std::size_t kMaxLineLength = 4096;

    CRecordingLines() = default;
    ~CRecordingLines();
    CRecordingLines(const CRecordingLines&) = delete;
    CRecordingLines& operator=(const CRecordingLines&) = delete;

    // False, with failure saying why, for anything but a readable regular file.
    bool open(const std::string& path, std::string& failure);
    // The next row; false at the end of the file or when reading failed (failure() says so).
    bool next(Row& row);

    std::size_t skipped() const { return m_skipped; }
    std::size_t firstSkippedLine() const { return m_firstSkippedLine; }
    const std::string& failure() const { return m_failure; }

private:
    // The next line into m_line; false at the end. m_overlong marks a line cut short.
    bool readLine();
    bool fill();
    static bool parse(const std::string& line, Row& row);

    int m_fd = -1;
    std::array<char, 64 * 1024> m_buffer{};
    std::size_t m_start = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    std::string m_line;
    bool m_overlong = false;
    std::size_t m_lineNumber = 0;
    std::size_t m_skipped = 0;
    std::size_t m_firstSkippedLine = 0;
    std::string m_failure;
};

} // namespace torva::cli
