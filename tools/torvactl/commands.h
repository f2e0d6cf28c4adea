#pragma once

#include "session.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace torva::cli {

// What the chosen command runs once the arguments are parsed.
using CommandBody = std::function<void()>;
using CommandSink = std::function<void(CommandBody)>;

// Adds a command whose help ends with an example; when it is chosen, its body goes to sink.
CLI::App* addCommand(CLI::App& app, const std::string& name, const std::string& description,
                     const std::string& example);

// One registration per command group.
void addPortsCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addIdentifyCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addGetSetCommands(CLI::App& app, CSession& session, const CommandSink& sink);
void addConfigCommands(CLI::App& app, CSession& session, const CommandSink& sink);
// After addConfigCommands: adds "diff" to the "config" command.
void addConfigDiffCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addBackupsCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addDeviceCommands(CLI::App& app, CSession& session, const CommandSink& sink);
void addMonitorCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addOscdCommands(CLI::App& app, CSession& session, const CommandSink& sink);
// Adds "cells" to the "oscd" command.
void addOscdCellsCommand(CLI::App& oscd, const CommandSink& sink);
void addFlashCommand(CLI::App& app, CSession& session, const CommandSink& sink);
void addMapCommands(CLI::App& app, CSession& session, const CommandSink& sink);
void addAxisCommand(CLI::App& app, CSession& session, const CommandSink& sink);

} // namespace torva::cli
