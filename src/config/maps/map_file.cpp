#include "config/maps/map_file.h"

#include "platform/regular_file.h"

#include <algorithm>
#include <vector>

namespace torva {

namespace {

constexpr std::size_t kFieldsPerLine = kMapColumns + 1;

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// A field as it may be shown in a failure: a hostile file's field can be long or hold anything.
std::string shown(std::string_view field) {
    constexpr std::size_t kShownLength = 24;
    std::string text;
    for (const char c : field.substr(0, kShownLength))
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    return field.size() > kShownLength ? text + "..." : text;
}

} // namespace

SMapFileRead parseMapFile(std::string_view text, const SMapInfo& info, const std::string& name) {
    SMapFileRead read;
    const auto faultAt = [&](int line, std::size_t column, const std::string& what) {
        read.failure = name + ": line " + std::to_string(line) + ", column " +
                       std::to_string(column) + ": " + what;
        return read;
    };
    MapValues map{};
    int lineNumber = 0;
    int rows = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != kFieldsPerLine)
            return faultAt(lineNumber, std::min(fields.size(), kFieldsPerLine) + 1,
                           "expected " + std::to_string(kFieldsPerLine) + " fields, found " +
                               std::to_string(fields.size()));
        if (rows++ == 0)
            continue; // the RPM axis
        if (rows > kMapRows + 1)
            return faultAt(lineNumber, 1, "more than " + std::to_string(kMapRows) + " map rows");
        for (int column = 0; column < kMapColumns; ++column) {
            const std::string_view field = fields[column + 1];
            const std::optional<double> typed = parseTypedNumber(field);
            if (!typed)
                return faultAt(lineNumber, column + 2, "'" + shown(field) + "' is not a number");
            const std::optional<double> value = typedCellValue(info, *typed);
            if (!value)
                return faultAt(lineNumber, column + 2,
                               shown(field) + " is outside " +
                                   formatMapValue(info.kind, info.valueMin) + " to " +
                                   formatMapValue(info.kind, info.valueMax));
            map[rows - 2][column] = *value;
        }
    }
    if (rows != kMapRows + 1)
        return faultAt(lineNumber + 1, 1,
                       "expected the RPM line and " + std::to_string(kMapRows) +
                           " map rows, found " + std::to_string(rows) + " lines");
    read.map = map;
    return read;
}

SMapFileRead readMapFile(const std::string& path, const SMapInfo& info) {
    const SFileRead file = readRegularFile(path, kMaxMapFileBytes);
    if (!file) {
        SMapFileRead read;
        read.failure =
            path + ": " + describeFileReadFault(file.fault, file.error, kMaxMapFileBytes);
        return read;
    }
    return parseMapFile(file.contents, info, path);
}

} // namespace torva
