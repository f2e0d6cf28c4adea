// oscd csv: a diagnostic recording as CSV with named columns.
#include "commands.h"
#include "diag/diag_file.h"
#include "platform/atomic_file.h"
#include "recording_lines.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

struct SColumn {
    const char* name;
    const char* format; // as the recording writes the column
};

// The recording's columns 1-28 in file order.
constexpr std::array<SColumn, kDiagColumns> kColumns{{
    {"fuel_mode", "%.0f"},      {"switch_state", "%.0f"},
    {"status_flags", "%.0f"},   {"rpm", "%.0f"},
    {"gas_inj_ms", "%.2f"},     {"pressure_kpa", "%.0f"},
    {"vacuum_kpa", "%.0f"},     {"gas_temp_c", "%.0f"},
    {"reducer_temp_c", "%.0f"}, {"supply_v", "%.2f"},
    {"signal1_v", "%.2f"},      {"signal2_v", "%.2f"},
    {"signal3_v", "%.2f"},      {"signal4_v", "%.2f"},
    {"signal5", "%.2f"},        {"signal6", "%.2f"},
    {"signal7_v", "%.2f"},      {"signal8_v", "%.2f"},
    {"exhaust_temp_c", "%.0f"}, {"cr_inj_ms", "%.2f"},
    {"ext1", "%.2f"},           {"ext2", "%.2f"},
    {"ext3", "%.1f"},           {"ext4", "%.1f"},
    {"ext5", "%.2f"},           {"ext6", "%.2f"},
    {"ext7", "%.1f"},           {"ext8", "%.1f"},
}};

std::string headerLine() {
    std::string text;
    for (int column = 1; column <= kDiagColumns; ++column)
        text += std::string(column > 1 ? "," : "") + kColumns[column - 1].name;
    return text + '\n';
}

std::string csvLine(const CRecordingLines::Row& row) {
    std::string text;
    for (int column = 1; column <= kDiagColumns; ++column) {
        char value[64];
        std::snprintf(value, sizeof value, kColumns[column - 1].format, row[column - 1]);
        text += std::string(column > 1 ? "," : "") + value;
    }
    return text + '\n';
}

// Streams the rows of a recording as CSV into write; false once write fails.
template <class TWrite> bool writeCsv(CRecordingLines& lines, TWrite write) {
    if (!write(headerLine()))
        return false;
    CRecordingLines::Row row{};
    std::string chunk;
    while (lines.next(row)) {
        chunk += csvLine(row);
        if (chunk.size() >= 64 * 1024) {
            if (!write(chunk))
                return false;
            chunk.clear();
        }
    }
    return write(chunk);
}

void convert(const std::string& file, const std::string& output) {
    if (!hasRecordingExtension(file))
        fail(EExit::Usage, "a recording's name ends in oscd: " + file);
    CRecordingLines lines;
    std::string failure;
    if (!lines.open(file, failure))
        fail(EExit::Refused, failure);
    const bool toStandardOutput = output.empty() || output == "-";
    if (!toStandardOutput && isSameFile(file, output))
        fail(EExit::Usage, output + " is the recording itself; choose another output file");

    if (toStandardOutput) {
        writeCsv(lines, [](const std::string& text) { return bool(std::cout << text); });
        std::cout << std::flush;
    } else {
        // Written beside the target and renamed over it: a stopped conversion leaves the
        // previous file as it was.
        CAtomicFile out;
        if (!out.create(output))
            fail(EExit::Refused, output + ": " + out.failure());
        const bool written =
            writeCsv(lines, [&out](const std::string& text) { return out.write(text); });
        if (!lines.failure().empty())
            fail(EExit::Refused, file + ": " + lines.failure());
        if (!written || !out.commit())
            fail(EExit::Refused, output + ": " + out.failure());
    }
    if (!lines.failure().empty())
        fail(EExit::Refused, file + ": " + lines.failure());
    if (lines.skipped() > 0)
        std::cerr << "skipped " << lines.skipped() << (lines.skipped() == 1 ? " line" : " lines")
                  << " that did not hold 28 numbers (the first: line " << lines.firstSkippedLine()
                  << ")" << std::endl;
}

} // namespace

void addOscdCommands(CLI::App& app, CSession&, const CommandSink& sink) {
    CLI::App* oscd = app.add_subcommand("oscd", "Work with diagnostic recordings (.oscd)");
    oscd->require_subcommand(1);
    const auto file = std::make_shared<std::string>();
    const auto output = std::make_shared<std::string>();
    CLI::App* csv = addCommand(
        *oscd, "csv",
        "Convert a recording to CSV with a header row naming the 28 columns, on OUT or stdout. "
        "Each line of 28 tab-separated numbers becomes a row; other lines are skipped and "
        "counted on stderr. OUT appears whole or not at all and may not be the recording",
        "torvactl oscd csv drive.oscd drive.csv");
    csv->add_option("FILE", *file, "recording to convert")->required();
    csv->add_option("OUT", *output, "CSV file to write (default: stdout)");
    csv->callback([sink, file, output] { sink([file, output] { convert(*file, *output); }); });
    addOscdCellsCommand(*oscd, sink);
}

} // namespace torva::cli
