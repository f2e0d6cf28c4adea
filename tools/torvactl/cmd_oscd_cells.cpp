// oscd cells: where a recording's lines fall on a channel's grid, as counts or means per cell.
#include "commands.h"
#include "config/maps/map_catalogue.h"
#include "config/settings_io.h"
#include "diag/map_coverage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

// Without a controller the file's own injector settings are neither needed nor checked.
constexpr std::uint8_t kNoController = 0;

struct SCellsArguments {
    std::string recording;
    std::string settings;
    int map = 0;
    int meanColumn = 0; // 0: counts
    bool csv = false;
};

// A folder or a device (such as /dev/zero, which never ends) is no file to read.
void requireReadable(const std::string& path, const char* what) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path, std::ios::binary))
        fail(EExit::Refused, path + ": the " + what + " cannot be opened");
}

CDeviceConfig settingsOf(const std::string& path) {
    requireReadable(path, "settings file");
    CDeviceConfig config;
    if (!readSettings(path, config, kNoController))
        fail(EExit::Refused, path + ": not a complete settings file");
    return config;
}

std::string cellText(const CMapCoverage& coverage, SMapCell cell, int meanColumn) {
    if (meanColumn == 0)
        return std::to_string(coverage.count(cell));
    const std::optional<double> mean = coverage.mean(cell, meanColumn);
    if (!mean)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", *mean);
    return text;
}

void printCells(const SCellsArguments& args) {
    const CDeviceConfig config = settingsOf(args.settings);
    const SMapInfo& info = mapInfo(args.map);
    if (!mapExists(args.map, config.m_devInfo.m_deviceID))
        fail(EExit::Refused, "map " + std::to_string(args.map) +
                                 " (digital TPS) exists only on controllers of types 25 and 37");
    requireReadable(args.recording, "recording");
    const CMapCoverage coverage =
        binRecords(readDiagFile(args.recording), CCoverageRule(config, info.channel));

    // The layout of `map show`, so the two line up cell for cell.
    const char separator = args.csv ? ',' : '\t';
    std::string text;
    for (const double rpm : config.m_mapRpmCoordinatesEmu1)
        text += separator + formatRpmPoint(rpm);
    text += '\n';
    const LoadAxis& axis = loadAxis(config, info.channel);
    for (int row = 0; row < kMapRows; ++row) {
        text += formatLoadPoint(config, info.channel, axis[row]);
        for (int column = 0; column < kMapColumns; ++column)
            text += separator + cellText(coverage, {column, row}, args.meanColumn);
        text += '\n';
    }
    std::cout << text << std::flush;
}

} // namespace

void addOscdCellsCommand(CLI::App& oscd, const CommandSink& sink) {
    const auto args = std::make_shared<SCellsArguments>();
    CLI::App* cells = addCommand(
        oscd, "cells",
        "Count the recording's lines on the grid of map N as its calibration page marks the live "
        "cell (engine speed and the channel's input, over the axes of the settings file); prints "
        "the map's layout: a line of the 15 RPM points, then 16 lines of a load point and 15 "
        "cells. With --mean COL each cell is the mean of recording column COL over its lines "
        "(\"-\" for a cell without any). No controller is needed",
        "torvactl oscd cells drive.oscd --settings WX1234.dsettings --map 1 --mean 5");
    cells->add_option("REC", args->recording, "the recording (.oscd)")->required();
    cells->add_option("--settings", args->settings, "settings file with the axes")->required();
    cells
        ->add_option("--map", args->map,
                     "map: 1/2 channel 1, 3/4 channel 2, 5/6 channel 3, 7/8 channel 4, 9/10 the "
                     "digital TPS; both maps of a channel have the same cells")
        ->required()
        ->check(CLI::Range(1, kMapCount));
    cells
        ->add_option("--mean", args->meanColumn,
                     "recording column 1-28 to average per cell, for example 5 the gas injection "
                     "time, 6 the reducer pressure, 19 the exhaust temperature")
        ->check(CLI::Range(1, kDiagColumns));
    cells->add_flag("--csv", args->csv, "separate the fields by commas");
    cells->callback([sink, args] { sink([args] { printCells(*args); }); });
}

} // namespace torva::cli
