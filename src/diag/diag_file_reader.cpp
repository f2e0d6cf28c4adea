#include "diag/diag_file_reader.h"

#include "platform/regular_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>

namespace torva {

namespace {

constexpr std::array<bool, 256> kSpaces = [] {
    std::array<bool, 256> spaces{};
    for (const unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'})
        spaces[c] = true;
    return spaces;
}();

bool isSpace(char c) {
    return kSpaces[static_cast<unsigned char>(c)];
}

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Up to 15 digits always fit a double's 53-bit mantissa exactly.
constexpr int kExactDigits = 15;
constexpr std::array<double, kExactDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The record index of each column in file order.
constexpr std::array<int, kDiagColumns> kRecordIndex = [] {
    std::array<int, kDiagColumns> indexes{};
    for (int column = 1; column <= kDiagColumns; ++column)
        indexes[column - 1] = recordIndexOfColumn(column);
    return indexes;
}();

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
        if (plainDecimal(start, value))
            return true;
        const auto [ptr, error] = std::from_chars(start, m_end, value);
        // "nan" and "inf" parse, but no recorder writes them and a chart cannot draw them.
        if (error != std::errc{} || !std::isfinite(value))
            return false;
        m_pos = ptr;
        return true;
    }

private:
    // What recordings hold: [-]digits[.digits] with few digits. An integer of at most 15 digits
    // divided by a power of ten that is exact as a double gives the correctly rounded value, the
    // one from_chars gives. Anything else (an exponent, more digits, no digit before the point)
    // is left to from_chars.
    bool plainDecimal(const char* p, double& value) {
        const bool negative = p != m_end && *p == '-';
        if (negative)
            ++p;
        const char* const wholeStart = p;
        std::uint64_t mantissa = 0;
        for (; p != m_end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        const auto wholeDigits = p - wholeStart;
        if (wholeDigits == 0)
            return false;
        std::ptrdiff_t decimals = 0;
        if (p != m_end && *p == '.') {
            const char* const fractionStart = ++p;
            for (; p != m_end && isDigit(*p); ++p)
                mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            decimals = p - fractionStart;
        }
        if (wholeDigits + decimals > kExactDigits || (p != m_end && (*p == 'e' || *p == 'E')))
            return false;
        const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[decimals];
        value = negative ? -magnitude : magnitude;
        m_pos = p;
        return true;
    }

    const char* m_pos;
    const char* m_end;
};

// One record per line is what recorders write.
std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p))) !=
         nullptr;
         ++p)
        ++lines;
    return lines;
}

// The whole stream, read in blocks: far quicker than character by character.
std::string wholeContent(std::istream& in) {
    std::string text;
    // Sized once where the stream knows its size (a pipe does not): growing a large text step
    // by step costs more than reading it.
    if (const std::streampos start = in.tellg(); start != std::streampos(-1)) {
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg() - start;
        in.seekg(start);
        if (in && size > 0)
            text.reserve(static_cast<std::size_t>(size));
        in.clear();
    }
    std::array<char, 1 << 16> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0)
        text.append(block.data(), static_cast<std::size_t>(in.gcount()));
    return text;
}

} // namespace

std::vector<DiagRecord> parseDiagRecords(const std::string& text) {
    std::vector<DiagRecord> records;
    records.reserve(lineCount(text));
    CNumberScanner scanner(text);
    while (true) {
        DiagRecord& record = records.emplace_back();
        for (const int index : kRecordIndex) {
            if (!scanner.next(record[index])) {
                records.pop_back();
                return records;
            }
        }
    }
}

std::vector<DiagRecord> readDiagFile(const std::string& path) {
    // Opening a FIFO would wait for a writer, and a device such as /dev/zero never ends.
    if (!isRegularFile(path))
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    return parseDiagRecords(wholeContent(file));
}

} // namespace torva
