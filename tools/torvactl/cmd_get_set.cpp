// get and set: configuration members by their settings-file keys.
#include "commands.h"
#include "config/block_codec.h"
#include "config/rounding.h"
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

// Values the block's encoding clamps when the record is encoded.
std::uint64_t clampsWhenEncoding(EBlock block, const CDeviceConfig& config) {
    const std::uint64_t before = clampedStoreCount();
    encodeBlock(block, config);
    return clampedStoreCount() - before;
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
        const std::uint64_t clampsBefore = clampsWhenEncoding(change.block, edited);
        assignSettingsValue(change.entry->key, change.entry->field(edited), change.value);
        if (clampsWhenEncoding(change.block, edited) > clampsBefore)
            fail(EExit::Usage, "value '" + change.value + "' for " + change.entry->key +
                                   " does not fit the controller's field");
        if (std::find(touched.begin(), touched.end(), change.block) == touched.end())
            touched.push_back(change.block);
    }

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
        "and write each changed block once. A value the controller's field cannot hold is "
        "refused before anything is written",
        "torvactl set m_base.m_switchRPM 1500 m_base.m_switchTempr 40");
    set->add_option("KEY VALUE", *setArguments, "pairs of settings-file key and value")
        ->required()
        ->allow_extra_args();
    set->callback([&session, sink, setArguments] {
        sink([&session, setArguments] { cli::set(session, *setArguments); });
    });
}

} // namespace torva::cli
