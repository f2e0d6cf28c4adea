#include "diag/diag_file_reader.h"

#include "platform/regular_file.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

namespace torva {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads numbers one by one from text as scanf("%lf") would in the C locale: whitespace before
// each is skipped, a number ends where its characters end.
class CNumberScanner {
public:
    explicit CNumberScanner(const std::string& text)
        : m_pos(text.data()), m_end(text.data() + text.size()) {}

    bool next(double& value) {
        while (m_pos != m_end && isSpace(*m_pos))
            ++m_pos;
        const char* start = m_pos;
        // from_chars takes no plus sign; scanf does.
        if (start != m_end && *start == '+' && start + 1 != m_end && *(start + 1) != '-')
            ++start;
        const auto [ptr, error] = std::from_chars(start, m_end, value);
        // "nan" and "inf" parse, but no recorder writes them and a chart cannot draw them.
        if (error != std::errc{} || !std::isfinite(value))
            return false;
        m_pos = ptr;
        return true;
    }

private:
    const char* m_pos;
    const char* m_end;
};

} // namespace

std::vector<DiagRecord> parseDiagRecords(const std::string& text) {
    std::vector<DiagRecord> records;
    CNumberScanner scanner(text);
    while (true) {
        DiagRecord record{};
        for (int column = 1; column <= kDiagColumns; ++column) {
            if (!scanner.next(record[recordIndexOfColumn(column)]))
                return records;
        }
        records.push_back(record);
    }
}

std::vector<DiagRecord> readDiagFile(const std::string& path) {
    // Opening a FIFO would wait for a writer, and a device such as /dev/zero never ends.
    if (!isRegularFile(path))
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return parseDiagRecords(text);
}

} // namespace torva
