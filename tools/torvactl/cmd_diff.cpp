// config diff: what differs between the controller and a settings file.
#include "commands.h"

#include "config/config_compare.h"
#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/settings_io.h"
#include "config/settings_keys.h"
#include "json_output.h"

#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

const char* apartReasonText(EApartReason reason) {
    switch (reason) {
    case EApartReason::NotInFirst:
        return "not on the controller";
    case EApartReason::NotInSecond:
        return "not in the file";
    case EApartReason::DeviceType:
        return "device type";
    case EApartReason::Firmware:
        return "firmware";
    }
    return "";
}

void printText(const SConfigDiff& diff) {
    const auto& keys = settingsKeys();
    for (const SKeyDifference& difference : diff.differences)
        std::cout << keys[difference.keyIndex].key << '\t' << diffValueText(difference.first)
                  << '\t' << diffValueText(difference.second) << '\n';
    std::cout << std::flush;
    // Not differences, but a reader should know the comparison did not cover them.
    for (const SApartGroup& apart : apartGroups(diff))
        std::cerr << "not compared: " << diffGroups()[apart.group].prefix << " (" << apart.keys
                  << " keys): " << apartReasonText(apart.reason) << '\n';
}

void printJsonDiff(const std::string& file, const SConfigDiff& diff) {
    const auto& keys = settingsKeys();
    nlohmann::json differences = nlohmann::json::array();
    for (const SKeyDifference& difference : diff.differences) {
        const std::string& key = keys[difference.keyIndex].key;
        differences.push_back({{"key", key},
                               {"group", std::string(diffGroups()[*diffGroupOfKey(key)].prefix)},
                               {"controller", difference.first},
                               {"file", difference.second}});
    }
    nlohmann::json apart = nlohmann::json::array();
    for (const SApartGroup& group : apartGroups(diff))
        apart.push_back({{"group", std::string(diffGroups()[group.group].prefix)},
                         {"reason", apartReasonText(group.reason)},
                         {"keys", group.keys}});
    printJson({{"file", file},
               {"identical", diff.identical()},
               {"differences", differences},
               {"notCompared", apart}});
}

void diffConfig(CSession& session, const std::string& file) {
    // The file first: one that cannot be read needs no controller.
    std::string failure;
    const std::optional<SConfigSnapshot> other = snapshotOfFile(file, failure);
    if (!other)
        fail(EExit::Refused, failure);
    // A file the load would refuse is no configuration to compare with.
    const CDeviceConfig& live = session.connect().device().config();
    CDeviceConfig scratch(isKnownDeviceType(live.m_devInfo.m_deviceID)
                              ? std::optional(live.m_devInfo.m_deviceID)
                              : std::nullopt);
    std::string refusal;
    if (!readSettings(file, scratch, loadTargetOf(live.m_devInfo), &refusal))
        fail(EExit::Refused, settingsLoadFailureText(file, refusal));
    const SConfigDiff diff = compareConfigurations(snapshotOf(live), *other);
    if (session.options().json)
        printJsonDiff(file, diff);
    else
        printText(diff);
    if (!diff.identical())
        fail(EExit::Refused, ""); // as diff does: 1 means "they differ", and says no more
}

} // namespace

void addConfigDiffCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    CLI::App* config = app.get_subcommand("config");
    const auto file = std::make_shared<std::string>();
    CLI::App* command = addCommand(
        *config, "diff",
        "Compare the controller's configuration with FILE: one line per difference, KEY, "
        "controller value and file value separated by tabs, in settings-file order. Exit 0 when "
        "they are equal, 1 when they differ or when the file is one a load would refuse (the "
        "reason on stderr)",
        "torvactl config diff car-WX1234.dsettings");
    command->add_option("FILE", *file, "settings file or backup to compare with")->required();
    command->callback(
        [&session, sink, file] { sink([&session, file] { diffConfig(session, *file); }); });
}

} // namespace torva::cli
