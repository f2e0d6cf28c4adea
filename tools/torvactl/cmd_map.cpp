// map show / step / load / clear: one injection-time or emulation map at a time.
#include "commands.h"
#include "config/maps/map_file.h"
#include "config/printable_text.h"
#include "config/settings_backup.h"
#include "document/document_messages.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "maps/map_classes.h"

#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");

struct SMapArguments {
    int number = 0;
    bool csv = false;
    std::string rows;
    std::string columns;
    double delta = 0;
    std::string file;
};

// The map of the connected controller; exit 1 when that controller has no such map.
CLPGDevice& deviceWithMap(CSession& session, int number) {
    CLPGDevice& device = session.device();
    if (!mapExists(number, device.config().m_devInfo.m_deviceID))
        fail(EExit::Refused, "map " + std::to_string(number) +
                                 " (digital TPS) exists only on controllers of types 25 and 37");
    return device;
}

void printMap(const CDeviceConfig& config, int number, bool csv) {
    const char separator = csv ? ',' : '\t';
    const SMapInfo& info = mapInfo(number);
    std::string text;
    for (const double rpm : config.m_mapRpmCoordinatesEmu1)
        text += separator + formatRpmPoint(rpm);
    text += '\n';
    const MapValues& map = mapValues(config, number);
    for (int row = 0; row < kMapRows; ++row) {
        text += loadHeaderText(config, info.channel, row);
        for (const double value : map[row])
            text += separator + formatMapValue(info.kind, value);
        text += '\n';
    }
    std::cout << text << std::flush;
}

// "A" or "A-B" within 0..last.
std::pair<int, int> parseSpan(const std::string& text, int last, const char* what) {
    const std::size_t dash = text.find('-', 1);
    const std::optional<double> first = parseTypedNumber(text.substr(0, dash));
    const std::optional<double> second =
        dash == std::string::npos ? first : parseTypedNumber(text.substr(dash + 1));
    const auto whole = [last](const std::optional<double>& v) {
        return v && *v == static_cast<int>(*v) && *v >= 0 && *v <= last;
    };
    if (!whole(first) || !whole(second) || *second < *first)
        fail(EExit::Usage, std::string(what) + " must be N or N-M within 0-" +
                               std::to_string(last) + ", not '" + escapeUnprintable(text) + "'");
    return {static_cast<int>(*first), static_cast<int>(*second)};
}

void show(CSession& session, const SMapArguments& args) {
    printMap(deviceWithMap(session, args.number).config(), args.number, args.csv);
}

void step(CSession& session, const SMapArguments& args) {
    const auto [firstRow, lastRow] = parseSpan(args.rows, kMapRows - 1, "--rows");
    const auto [firstColumn, lastColumn] = parseSpan(args.columns, kMapColumns - 1, "--cols");
    CLPGDevice& device = deviceWithMap(session, args.number);
    const std::unique_ptr<CMapArray> map = createMapArray(args.number, device);
    map->selectRect(firstColumn, firstRow, lastColumn, lastRow);
    switch (map->incrementSelected(args.delta)) {
    case EEditResult::Done:
        break;
    case EEditResult::Refused:
        fail(EExit::Usage, "the step would take a cell out of " +
                               formatMapValue(map->info().kind, map->m_valueMin) + " to " +
                               formatMapValue(map->info().kind, map->m_valueMax) +
                               "; nothing was written");
    case EEditResult::Ignored:
        fail(EExit::Usage, "a step must be at least one unit of the map (0.1 ms or 1 %) and at "
                           "most 255 units");
    case EEditResult::Failed:
        session.failWithShownError(EExit::Refused, translate(kWriteFailed));
    }
    session.failOnDeclinedOrShownError();
    printMap(device.config(), args.number, args.csv);
}

void load(CSession& session, const SMapArguments& args) {
    // The whole file is checked before the backup and the write.
    const SMapFileRead read = readMapFile(args.file, mapInfo(args.number));
    if (!read.map)
        fail(EExit::Refused, read.failure + "; nothing was written");
    const MapValues& map = *read.map;
    CLPGDevice& device = deviceWithMap(session, args.number);
    CVeko2012Doc& doc = session.connect();
    if (!doc.backUpLiveConfiguration(EBackupReason::PartialApply))
        session.failOnDeclinedOrShownError();
    if (!doc.lastBackupPath().empty())
        std::cout << doc.lastBackupPath() << std::endl;
    if (!writeMapImage(device, args.number, map))
        fail(EExit::Refused, translate(kWriteFailed));
}

void clear(CSession& session, const SMapArguments& args) {
    if (!session.options().yes)
        fail(EExit::Usage, "map clear sets every cell of the map to 0; confirm with --yes");
    CLPGDevice& device = deviceWithMap(session, args.number);
    if (!device.clearMap(args.number))
        fail(EExit::Refused, translate(doc_message::kInjectionMapFailed));
}

void addMapNumber(CLI::App& command, SMapArguments& args) {
    command
        .add_option("N", args.number,
                    "map: 1/2 time/emulation map of channel 1, 3/4 channel 2, 5/6 channel 3, "
                    "7/8 channel 4, 9/10 the digital-TPS pair (types 25 and 37)")
        ->required()
        ->check(CLI::Range(1, kMapCount));
}

} // namespace

void addMapCommands(CLI::App& app, CSession& session, const CommandSink& sink) {
    CLI::App* map = app.add_subcommand("map", "Show and edit one injection-time or emulation map");
    map->require_subcommand(1);
    const auto args = std::make_shared<SMapArguments>();
    const auto bind = [&session, sink, args](CLI::App* command,
                                             void (*run)(CSession&, const SMapArguments&)) {
        command->callback(
            [&session, sink, args, run] { sink([&session, args, run] { run(session, *args); }); });
    };

    CLI::App* showCommand = addCommand(
        *map, "show",
        "Print map N: a line of the 15 RPM points, then 16 lines of a load point and 15 cells, "
        "TAB-separated",
        "torvactl map show 1 --csv > time1.csv");
    addMapNumber(*showCommand, *args);
    showCommand->add_flag("--csv", args->csv, "separate the fields by commas");
    bind(showCommand, show);

    CLI::App* stepCommand = addCommand(
        *map, "step",
        "Raise or lower cells of map N as the grid's Ctrl+Up/Down does (rows 0-15 top to bottom, "
        "columns 0-14 left to right), then print the map; a step that would take a cell out of "
        "range exits 2 with nothing written",
        "torvactl map step 2 --rows 3-5 --cols 0-14 --by -2");
    addMapNumber(*stepCommand, *args);
    stepCommand->add_option("--rows", args->rows, "load rows A or A-B")->required();
    stepCommand->add_option("--cols", args->columns, "RPM columns C or C-D")->required();
    stepCommand->add_option("--by", args->delta, "the step: ms on time maps, % on emulation maps")
        ->required();
    stepCommand->add_flag("--csv", args->csv, "print the map with commas");
    bind(stepCommand, step);

    CLI::App* loadCommand = addCommand(
        *map, "load",
        "Write map N from FILE in the `map show --csv` form (its axis line and column are "
        "ignored) after backing up the configuration; prints the backup path. Cells are typed "
        "values: rounded to 0.1 ms or 1 % and within the map's range, as in the grid and with "
        "set. A wrong shape, a non-number or an out-of-range cell exits 1 with nothing written",
        "torvactl map load 1 time1.csv");
    addMapNumber(*loadCommand, *args);
    loadCommand->add_option("FILE", args->file, "the map file")->required();
    bind(loadCommand, load);

    CLI::App* clearCommand = addCommand(
        *map, "clear", "Clear map N in the controller (needs --yes)", "torvactl --yes map clear 2");
    addMapNumber(*clearCommand, *args);
    bind(clearCommand, clear);
}

} // namespace torva::cli
