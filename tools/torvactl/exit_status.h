#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace torva::cli {

// The exit statuses scripts rely on.
enum class EExit : int {
    Ok = 0,
    Refused = 1,      // the controller refused or did not answer, or an input file was rejected
    Usage = 2,        // unknown command, option or key; bad value; missing --yes
    NoController = 3, // no controller found, or the link was lost
};

// A command's failure: its exit status and the text of its one "error: " line; without text, only
// the status (a result such as "the files differ" rather than a failure).
class CCommandError : public std::runtime_error {
public:
    CCommandError(EExit status, const std::string& message, bool keepsLines = false)
        : std::runtime_error(message), m_status(status), m_keepsLines(keepsLines) {}
    EExit status() const { return m_status; }
    // Advice read line by line (a command to type among them) is not joined into one line.
    bool keepsLines() const { return m_keepsLines; }

private:
    EExit m_status;
    bool m_keepsLines;
};

[[noreturn]] void fail(EExit status, const std::string& message);
// The same for a message whose lines must stay lines.
[[noreturn]] void failKeepingLines(EExit status, const std::string& message);

// Prints "error: message" on stderr, on one line with control characters escaped.
void printError(const std::string& message);

// Runs a command and turns whatever it throws into its exit status and "error: " line: serial
// faults mean the link is gone (3), other failures are refusals (1).
int runGuarded(const std::function<void()>& command);

} // namespace torva::cli
