// config export / import / factory: the whole configuration at once.
#include "commands.h"
#include "lang/translation.h"

#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

void printBackupPath(CVeko2012Doc& doc) {
    if (!doc.lastBackupPath().empty())
        std::cout << doc.lastBackupPath() << std::endl;
}

void exportConfig(CSession& session, const std::string& file) {
    CVeko2012Doc& doc = session.connect();
    session.ui().setChosenFile(file);
    if (doc.saveSettingsFile() != EExportResult::Saved)
        session.failWithShownError(EExit::Refused, file + ": not written");
    std::cout << file << std::endl;
}

void importConfig(CSession& session, const std::string& file) {
    CVeko2012Doc& doc = session.connect();
    session.ui().setChosenFile(file);
    doc.loadSettingsFile();
    printBackupPath(doc);
    session.failOnDeclinedOrShownError();
}

void restoreFactory(CSession& session) {
    if (!session.options().yes)
        fail(EExit::Usage, "config factory overwrites the controller's settings; confirm with "
                           "--yes");
    CVeko2012Doc& doc = session.connect();
    // The restore notes the fuel mode of the newest sample; nothing polls here, so read one.
    if (!session.readOneLiveSample())
        std::cerr << "warning: no live sample; the fuel mode is not known" << std::endl;
    doc.restoreFactorySettings();
    printBackupPath(doc);
    session.failOnDeclinedOrShownError();
}

} // namespace

void addConfigCommands(CLI::App& app, CSession& session, const CommandSink& sink) {
    CLI::App* config = app.add_subcommand("config", "Move the whole configuration at once");
    config->require_subcommand(1);

    const auto exportFile = std::make_shared<std::string>();
    CLI::App* exportCommand = addCommand(*config, "export",
                                         "Connect, read and write FILE as a settings file; prints "
                                         "the path written",
                                         "torvactl config export car-WX1234.dsettings");
    exportCommand->add_option("FILE", *exportFile, "settings file to write")->required();
    exportCommand->callback([&session, sink, exportFile] {
        sink([&session, exportFile] { exportConfig(session, *exportFile); });
    });

    const auto importFile = std::make_shared<std::string>();
    CLI::App* importCommand = addCommand(
        *config, "import",
        "Back up the current configuration into the settings folder's Backup folder, then load "
        "FILE into the controller; prints the backup path. Every value is checked first: a file "
        "with one its field cannot hold, or whose axes do not rise, exits 1 before the backup, "
        "naming the line, the key, the value and what the field holds",
        "torvactl config import car-WX1234.dsettings");
    importCommand->add_option("FILE", *importFile, "settings file to load")->required();
    importCommand->callback([&session, sink, importFile] {
        sink([&session, importFile] { importConfig(session, *importFile); });
    });

    CLI::App* factory = addCommand(
        *config, "factory",
        "Back up the current configuration, then restore the factory settings (needs --yes); "
        "prints the backup path",
        "torvactl --yes config factory");
    factory->callback([&session, sink] { sink([&session] { restoreFactory(session); }); });
}

} // namespace torva::cli
