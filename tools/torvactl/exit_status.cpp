#include "exit_status.h"

#include "config/printable_text.h"
#include "link/rs_error.h"

#include <iostream>

namespace torva::cli {

void fail(EExit status, const std::string& message) {
    throw CCommandError(status, message);
}

void printError(const std::string& message) {
    // One line, as scripts read it: a message the window shows on two lines is joined, and a
    // control character from a file name or an argument cannot act on the terminal.
    std::string line = message;
    for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at))
        line.replace(at, 1, ": ");
    std::cerr << "error: " << escapeUnprintable(line) << std::endl;
}

int runGuarded(const std::function<void()>& command) {
    try {
        command();
        return static_cast<int>(EExit::Ok);
    } catch (const CCommandError& error) {
        if (*error.what() != '\0')
            printError(error.what());
        return static_cast<int>(error.status());
    } catch (const CRSError& error) {
        printError(error.formattedText());
        return static_cast<int>(EExit::NoController);
    } catch (const IError& error) {
        printError(error.formattedText());
        return static_cast<int>(EExit::Refused);
    } catch (const std::exception& error) {
        printError(error.what());
        return static_cast<int>(EExit::Refused);
    }
}

} // namespace torva::cli
