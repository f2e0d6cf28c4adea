// get and set: configuration members by their settings-file keys.
#include "commands.h"
#include "config/block_table.h"
#include "config/maps/map_catalogue.h"
#include "config/value_check.h"
#include "key_lookup.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "settings_values.h"

#include "json_output.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

namespace torva::cli {

namespace {

template <class... TVisitors> struct SOverloaded : TVisitors... { using TVisitors::operator()...; };

constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr const char* kSupplyVoltageKey = "m_base.m_minVCC";

nlohmann::json jsonValue(const SettingsField& field) {
    return std::visit(SOverloaded{
                          [](std::string* text) { return nlohmann::json(*text); },
                          [](double* number) { return nlohmann::json(*number); },
                          [](auto* number) { return nlohmann::json(*number); },
                      },
                      field);
}

void get(CSession& session, const std::vector<std::string>& requested) {
    std::vector<const SSettingsKey*> keys;
    for (const std::string& key : requested)
        keys.push_back(&requireSettingsKey(key));
    if (requested.empty()) {
        for (const SSettingsKey& entry : settingsKeys()) {
            if (entry.key != kTimeStampKey)
                keys.push_back(&entry);
        }
    }
    CDeviceConfig& config = session.device().config();
    if (session.options().json) {
        nlohmann::json values = nlohmann::json::object();
        for (const SSettingsKey* entry : keys)
            values[entry->key] = jsonValue(entry->field(config));
        printJson(values);
        return;
    }
    std::string text;
    for (const SSettingsKey* entry : keys)
        text += entry->key + '\t' + formatSettingsValue(entry->field(config)) + '\n';
    std::cout << text << std::flush;
}

// A map cell given on the command line is a typed cell: rounded to the map's unit and within
// its range, as in the grid and in map files.
void applyTypedCellRule(const SSettingsKey& entry, EBlock block, CDeviceConfig& edited,
                        const std::string& text) {
    const int mapNumber = blockInfo(block).mapNumber;
    if (mapNumber == 0)
        return;
    const SMapInfo& info = mapInfo(mapNumber);
    double& cell = *std::get<double*>(entry.field(edited));
    const std::optional<double> typed = typedCellValue(info, cell);
    if (!typed)
        fail(EExit::Usage, "value '" + text + "' for " + entry.key + ": outside " +
                               formatMapValue(info.kind, info.valueMin) + " to " +
                               formatMapValue(info.kind, info.valueMax) + "; nothing was written");
    cell = *typed;
}

void set(CSession& session, const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.size() % 2 != 0)
        fail(EExit::Usage, "set needs KEY VALUE pairs");
    struct SChange {
        const SSettingsKey* entry;
        EBlock block;
        std::string value;
    };
    std::vector<SChange> changes;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const SSettingsKey& entry = requireSettingsKey(arguments[i]);
        const std::optional<EBlock> block = blockOfKey(entry.key);
        if (!block)
            fail(EExit::Usage, entry.key + " is not a settable member");
        changes.push_back({&entry, *block, arguments[i + 1]});
    }

    CLPGDevice& device = session.device();
    // Every value is checked on a copy; the live record changes only when all of them fit.
    CDeviceConfig edited = device.config();
    std::vector<EBlock> touched;
    for (const SChange& change : changes) {
        const SDevInfo& info = edited.m_devInfo;
        if (!blockExists(change.block, info.m_version, info.m_deviceID))
            fail(EExit::Usage, change.entry->key + " is not a member of this controller's "
                                                   "configuration");
        // A load sets it from the controller type, so a file cannot carry another value.
        if (device.isOffline() && change.entry->key == kSupplyVoltageKey)
            fail(EExit::Usage, change.entry->key +
                                   " is not kept by a settings file: loading one sets it from "
                                   "the controller type (20 V on types 25 and 37, 10 V on 3 "
                                   "and 40)");
        assignSettingsValue(change.entry->key, change.entry->field(edited), change.value);
        applyTypedCellRule(*change.entry, change.block, edited, change.value);
        if (std::find(touched.begin(), touched.end(), change.block) == touched.end())
            touched.push_back(change.block);
    }
    // Each value must come back from the controller as it was given, and axes must still rise.
    if (const std::optional<SValueRefusal> refusal = checkBlockValues(edited, touched))
        fail(EExit::Usage, describeValueRefusal(*refusal) + "; nothing was written");

    device.config() = edited;
    for (const EBlock block : touched) {
        if (!device.writeBlock(block))
            fail(EExit::Refused, translate(kWriteFailed));
    }
}

} // namespace

void addGetSetCommands(CLI::App& app, CSession& session, const CommandSink& sink) {
    const auto getKeys = std::make_shared<std::vector<std::string>>();
    CLI::App* get = addCommand(
        app, "get",
        "Connect, read the configuration and print KEY<TAB>VALUE lines as a settings file holds "
        "them; without keys, every key of a settings file except m_timeStamp",
        "torvactl get m_base.m_switchRPM m_base.m_switchTempr");
    get->add_option("KEY", *getKeys, "settings-file key, e.g. m_base.m_switchRPM");
    get->callback(
        [&session, sink, getKeys] { sink([&session, getKeys] { cli::get(session, *getKeys); }); });

    const auto setArguments = std::make_shared<std::vector<std::string>>();
    CLI::App* set = addCommand(
        app, "set",
        "Connect, read, set each member (display units; flag and byte members as whole numbers) "
        "and write each changed block once. A value is refused (exit 2, nothing written) unless "
        "the controller keeps it: finite, inside its field, read back within the field's "
        "resolution, axis points still rising. A map cell is a typed value, as in the grid and "
        "in map load files: rounded to 0.1 ms or 1 % and within the map's range (a settings "
        "file keeps its own rule: truncated)",
        "torvactl set m_base.m_switchRPM 1500 m_base.m_switchTempr 40");
    set->add_option("KEY VALUE", *setArguments, "pairs of settings-file key and value")
        ->required()
        ->allow_extra_args();
    set->callback([&session, sink, setArguments] {
        sink([&session, setArguments] { cli::set(session, *setArguments); });
    });
}

} // namespace torva::cli
