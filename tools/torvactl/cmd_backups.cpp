// backups: the backups of the connected controller.
#include "commands.h"

#include "config/settings_backup.h"
#include "json_output.h"
#include "platform/local_time.h"

#include <iostream>

namespace torva::cli {

namespace {

constexpr const char* kTimeFormat = "%Y-%m-%d %H:%M:%S";

void listBackups(CSession& session) {
    const SDevInfo& identity = session.device().config().m_devInfo;
    const std::vector<SBackupFile> backups = listSettingsBackups(identity);
    if (session.options().json) {
        nlohmann::json list = nlohmann::json::array();
        for (const SBackupFile& backup : backups)
            list.push_back(
                {{"path", backup.path},
                 {"time", localTimeText(backup.when, kTimeFormat)},
                 {"before", backup.reason ? nlohmann::json(backupReasonWord(*backup.reason))
                                          : nlohmann::json()}});
        printJson({{"folder", settingsBackupFolder()}, {"backups", list}});
        return;
    }
    for (const SBackupFile& backup : backups)
        std::cout << localTimeText(backup.when, kTimeFormat) << '\t'
                  << (backup.reason ? backupReasonWord(*backup.reason) : "-") << '\t' << backup.path
                  << '\n';
    std::cout << std::flush;
}

} // namespace

void addBackupsCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    CLI::App* command = addCommand(
        app, "backups",
        "List the connected controller's backups, newest first: local date and time, what the "
        "backup was taken before (factory, load, firmware, partial; - when the backup does not "
        "say) and the path, separated by tabs",
        "torvactl backups");
    command->callback([&session, sink] { sink([&session] { listBackups(session); }); });
}

} // namespace torva::cli
