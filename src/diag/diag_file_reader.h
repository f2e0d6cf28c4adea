#pragma once

#include <array>
#include <string>
#include <vector>

namespace torva {

// One line of a recording read back: 28 values in the order column 1, column 2, columns 4-19,
// column 3, columns 20-28 (the status flags move behind the exhaust temperature).
constexpr int kDiagColumns = 28;
using DiagRecord = std::array<double, kDiagColumns>;

// Index in a DiagRecord of the file's column (1-28).
constexpr int recordIndexOfColumn(int column) {
    if (column <= 2)
        return column - 1;
    if (column == 3)
        return 18;
    if (column <= 19)
        return column - 2;
    return column - 1;
}

// Reads every complete record of a recording. Values are read as numbers separated by any
// whitespace; line structure is not checked. The first text that is not a finite number (nan,
// inf and values out of range included) ends the reading, and a partly read record is dropped.
// A file that cannot be opened, or is no regular file, yields nothing.
std::vector<DiagRecord> readDiagFile(const std::string& path);

// The same on text already in memory.
std::vector<DiagRecord> parseDiagRecords(const std::string& text);

} // namespace torva
