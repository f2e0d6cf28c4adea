#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torva {

// torva-diesel [--port PATH] [--demo] [--simulate] [--offline SETTINGS] [FILE]
struct SAppOptions {
    std::string port;         // serial device to connect to (else the connection procedure)
    bool demo = false;        // start in demo mode without looking for a controller
    bool simulate = false;    // start the controller simulator in the process and connect to it
    std::string offlineFile;  // a settings file to edit without a controller at start-up
    std::string documentFile; // a document to open (documents hold nothing of their own)
    bool help = false;
};

struct SAppOptionsResult {
    std::optional<SAppOptions> options;
    std::string error; // set when options is empty
};

// Demo mode, nothing else.
SAppOptions demoOptions();

// arguments without the program name.
SAppOptionsResult parseAppOptions(const std::vector<std::string>& arguments);

// The usage text, several lines, ending with a line break.
std::string appUsage();

} // namespace torva
