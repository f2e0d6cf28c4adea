#include "ui/shell/app_options.h"

namespace torva {

SAppOptions demoOptions() {
    SAppOptions options;
    options.demo = true;
    return options;
}

SAppOptionsResult parseAppOptions(const std::vector<std::string>& arguments) {
    SAppOptions options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.empty() || argument.front() != '-') {
            if (!options.documentFile.empty()) {
                return {std::nullopt, "only one file can be opened: " + argument};
            }
            options.documentFile = argument;
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--demo") {
            options.demo = true;
        } else if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--port" || argument.rfind("--port=", 0) == 0) {
            if (argument == "--port") {
                if (i + 1 >= arguments.size()) {
                    return {std::nullopt, "--port needs a device path"};
                }
                options.port = arguments[++i];
            } else {
                options.port = argument.substr(7);
            }
            if (options.port.empty()) {
                return {std::nullopt, "--port needs a device path"};
            }
        } else if (argument == "--offline" || argument.rfind("--offline=", 0) == 0) {
            options.offlineFile = argument == "--offline"
                                      ? (i + 1 < arguments.size() ? arguments[++i] : "")
                                      : argument.substr(10);
            if (options.offlineFile.empty()) {
                return {std::nullopt, "--offline needs a settings file"};
            }
        } else {
            return {std::nullopt, "unknown option " + argument};
        }
    }
    const int sources = int(options.demo) + int(options.simulate) + int(!options.port.empty());
    if (sources > 1) {
        return {std::nullopt, "choose one of --port, --demo and --simulate"};
    }
    return {options, {}};
}

std::string appUsage() {
    return "Usage: torva-diesel [--port PATH] [--demo] [--simulate] [--offline SETTINGS] [FILE]\n"
           "  --port PATH        connect to the controller on this serial device\n"
           "  --demo             run without a controller, with demo values\n"
           "  --simulate         start the controller simulator in the program and connect to it\n"
           "  --offline SETTINGS edit a settings file without a controller: it stands in for\n"
           "                     the controller it was saved from (--port, --demo or --simulate\n"
           "                     then say where to connect when the file is closed)\n"
           "  FILE               a document to open\n";
}

} // namespace torva
