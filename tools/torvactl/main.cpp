// torvactl: the controller's configuration and diagnostics from a terminal.
#include "checked_output.h"
#include "commands.h"
#include "exit_status.h"
#include "lang/languages.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace torva;
using namespace torva::cli;

namespace torva::cli {

CLI::App* addCommand(CLI::App& app, const std::string& name, const std::string& description,
                     const std::string& example) {
    CLI::App* command = app.add_subcommand(name, description);
    command->footer("Example:\n  " + example);
    return command;
}

} // namespace torva::cli

namespace {

void addGlobalOptions(CLI::App& app, SGlobalOptions& options) {
    app.add_option("--port", options.port,
                   "talk to the controller on this serial device (a real port or a "
                   "pseudo-terminal); no port search is done");
    app.add_flag("--demo", options.demo,
                 "demo mode: no controller, every operation succeeds without traffic");
    app.add_option("--file", options.file,
                   "work on this settings file instead of a controller: it stands in for the "
                   "controller it was saved from (identify, get, set, map, axis, config diff); "
                   "an edit goes through the controller's encoding and saves the file in place");
    app.add_flag("--json", options.json,
                 "print one JSON object on stdout instead of text (identify, get, faults, stats)");
    app.add_option("--lang", options.language,
                   "language index 0-19 for translated texts (0 Polish, 1 English); default: "
                   "from the user's locale")
        ->check(CLI::Range(0, kLanguageSlotCount - 1));
    app.add_flag("--yes", options.yes,
                 "answer Yes to every confirmation (factory restore, older firmware)");
    app.add_flag("-v,--verbose", options.verbose,
                 "log every frame sent and received to stderr as hex");
}

// The chosen command as it was typed ("config import"), for messages.
std::string chosenCommand(const CLI::App& app) {
    std::string path;
    const CLI::App* level = &app;
    while (true) {
        const auto chosen = level->get_subcommands();
        if (chosen.empty())
            return path;
        level = chosen.front();
        path += (path.empty() ? "" : " ") + level->get_name();
    }
}

// Commands that read or edit the configuration only, and those that need no controller at all.
bool worksOnFile(const std::string& command) {
    static const std::vector<std::string> kOffline{"identify", "get",         "set",   "axis",
                                                   "map",      "config diff", "ports", "oscd"};
    return std::any_of(kOffline.begin(), kOffline.end(), [&command](const std::string& name) {
        return command == name || command.starts_with(name + " ");
    });
}

} // namespace

namespace {

// Runs the tool with standard output checked: output that could not be written fails the run
// (exit 1 and one line) as the standard tools do, even when the command itself succeeded.
int runWithCheckedOutput(int argc, char** argv);

} // namespace

int main(int argc, char** argv) {
    // A reader that went away is a write error to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
    CCheckedOutput output(STDOUT_FILENO);
    std::streambuf* const previous = std::cout.rdbuf(&output);
    int status = runWithCheckedOutput(argc, argv);
    std::cout.flush();
    std::cout.rdbuf(previous);
    if (output.error() != 0) {
        printError(std::string("standard output: ") + std::strerror(output.error()));
        if (status == static_cast<int>(EExit::Ok))
            status = static_cast<int>(EExit::Refused);
    }
    return status;
}

namespace {

int runWithCheckedOutput(int argc, char** argv) {
    CSession session;
    CLI::App app{
        "torvactl - configure and diagnose a dual-fuel engine controller from a terminal.\n"
        "Without --port, --demo and --file the controller is searched for on every port, the "
        "last good one first.\nWith --file F a settings file stands in for the controller: "
        "identify, get, set, map, axis and config diff work on it with the controller's "
        "encoding and ranges; the other commands need a controller (exit 2).\nExit status: 0 "
        "success; 1 refused, no answer or rejected file; 2 usage error; 3 no controller found or "
        "link lost."};
    app.set_version_flag("--version", "torvactl 0.1.0");
    app.footer("Example:\n  torvactl --port /dev/ttyUSB0 identify\n"
               "  torvactl --file car-WX1234.dsettings set m_base.m_switchRPM 1500\n"
               "Every command has its own --help, e.g. torvactl set --help");
    app.require_subcommand(1);
    // Global options may follow the command too: torvactl identify --demo.
    app.fallthrough();
    addGlobalOptions(app, session.options());

    CommandBody chosen;
    const CommandSink sink = [&chosen](CommandBody body) { chosen = std::move(body); };
    addPortsCommand(app, session, sink);
    addIdentifyCommand(app, session, sink);
    addGetSetCommands(app, session, sink);
    addConfigCommands(app, session, sink);
    addConfigDiffCommand(app, session, sink);
    addBackupsCommand(app, session, sink);
    addDeviceCommands(app, session, sink);
    addMonitorCommand(app, session, sink);
    addOscdCommands(app, session, sink);
    addFlashCommand(app, session, sink);
    addMapCommands(app, session, sink);
    addAxisCommand(app, session, sink);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        printError(error.what());
        return static_cast<int>(EExit::Usage);
    }
    const SGlobalOptions& options = session.options();
    if (int(options.demo) + int(!options.port.empty()) + int(!options.file.empty()) > 1) {
        printError("--demo, --port and --file exclude each other");
        return static_cast<int>(EExit::Usage);
    }
    if (!options.file.empty() && !worksOnFile(chosenCommand(app))) {
        printError(chosenCommand(app) + " needs a controller; it does not work on a --file");
        return static_cast<int>(EExit::Usage);
    }
    if (!chosen)
        return static_cast<int>(EExit::Ok);
    return runGuarded([&] {
        session.prepare();
        chosen();
        session.saveOfflineEdits();
    });
}

} // namespace
