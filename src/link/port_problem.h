#pragma once

#include <string>
#include <vector>

namespace torva {

class IError;

// Why a serial port could not be used, as far as a fitter can act on it.
enum class EPortProblem {
    Other,        // nothing we can explain better than the system's error
    Busy,         // another program (or another open in this one) holds the port or its lock
    NoPermission, // the user may not open the device
    Vanished,     // the device is gone: adapter unplugged, simulator ended
};

struct SPortProblem {
    EPortProblem kind = EPortProblem::Other;
    std::string path;
    // Busy: the programs holding the device ("minicom (pid 4321)"), as far as the system lets
    // this user see other programs' open files.
    std::vector<std::string> holders;
    // NoPermission: the user, the group that owns the device, and whether the user is already in
    // that group (only a new login is missing).
    std::string user;
    std::string group;
    bool memberNotYetActive = false;
    // Vanished: the serial devices present now.
    std::vector<std::string> presentPorts;
    // The technical context: the failed call and the system's error.
    std::string technical;
};

// Looks at the device and the system's error number of a failed open or operation.
SPortProblem diagnosePortProblem(const std::string& path, int systemError, std::string technical);
// The same from a raised error: a CRSError carries its device and error number; any other
// error gives EPortProblem::Other with its text. fallbackPath names the device when the error
// does not.
SPortProblem diagnosePortProblem(const IError& error, const std::string& fallbackPath = {});

// The programs that have the device at path open, "name (pid N)", as far as /proc shows this
// user (all of them to root, the user's own programs otherwise).
std::vector<std::string> programsHolding(const std::string& path);

// What to tell the user, translated: the plain sentences first, then the technical context on
// a line of its own. Empty for EPortProblem::Other (the caller shows the error as it is).
std::string portProblemText(const SPortProblem& problem);

} // namespace torva
