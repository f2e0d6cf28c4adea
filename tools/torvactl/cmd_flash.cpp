// flash: firmware programming with the settings migration.
#include "commands.h"

#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

void flash(CSession& session, const std::string& file) {
    CVeko2012Doc& doc = session.connect();
    session.ui().setChosenFile(file);
    const bool programmed = doc.programFirmware(false);
    if (!doc.lastBackupPath().empty())
        std::cout << doc.lastBackupPath() << std::endl;
    session.failOnDeclinedOrShownError(); // a migration write may fail after programming
    if (!programmed)
        fail(EExit::Refused, "the firmware was not programmed");
}

} // namespace

void addFlashCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    const auto file = std::make_shared<std::string>();
    CLI::App* command = addCommand(
        app, "flash",
        "Back up the settings, then program the firmware FILE (.afm) and migrate the settings; "
        "progress on stderr. An older firmware than the controller's needs --yes",
        "torvactl --port /dev/ttyUSB0 flash KARMEL_A2_1_50.afm");
    command->add_option("FILE", *file, "firmware file")->required();
    command->callback(
        [&session, sink, file] { sink([&session, file] { flash(session, *file); }); });
}

} // namespace torva::cli
