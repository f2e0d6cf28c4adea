// oscd csv: a diagnostic recording as CSV with named columns.
#include "commands.h"
#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

void writeCsv(const std::vector<DiagRecord>& records, std::ostream& out) {
    std::string text;
    for (int column = 1; column <= kDiagColumns; ++column)
        text += std::string(column > 1 ? "," : "") + kColumns[column - 1].name;
    text += '\n';
    for (const DiagRecord& record : records) {
        for (int column = 1; column <= kDiagColumns; ++column) {
            char value[64];
            std::snprintf(value, sizeof value, kColumns[column - 1].format,
                          record[recordIndexOfColumn(column)]);
            text += std::string(column > 1 ? "," : "") + value;
        }
        text += '\n';
    }
    out << text << std::flush;
}

void convert(const std::string& file, const std::string& output) {
    if (!hasRecordingExtension(file))
        fail(EExit::Usage, "a recording's name ends in oscd: " + file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        fail(EExit::Refused, file + ": no such recording");
    const std::vector<DiagRecord> records = readDiagFile(file);
    if (output.empty() || output == "-") {
        writeCsv(records, std::cout);
        return;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (out)
        writeCsv(records, out);
    if (!out)
        fail(EExit::Refused, output + ": cannot be written");
}

} // namespace

void addOscdCommands(CLI::App& app, CSession&, const CommandSink& sink) {
    CLI::App* oscd = app.add_subcommand("oscd", "Work with diagnostic recordings (.oscd)");
    oscd->require_subcommand(1);
    const auto file = std::make_shared<std::string>();
    const auto output = std::make_shared<std::string>();
    CLI::App* csv = addCommand(
        *oscd, "csv",
        "Convert a recording to CSV with a header row naming the 28 columns, on OUT or stdout",
        "torvactl oscd csv drive.oscd drive.csv");
    csv->add_option("FILE", *file, "recording to convert")->required();
    csv->add_option("OUT", *output, "CSV file to write (default: stdout)");
    csv->callback([sink, file, output] { sink([file, output] { convert(*file, *output); }); });
    addOscdCellsCommand(*oscd, sink);
}

} // namespace torva::cli
