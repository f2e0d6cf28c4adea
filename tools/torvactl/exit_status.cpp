#include "exit_status.h"

#include "config/printable_text.h"
#include "link/port_problem.h"
#include "link/rs_error.h"

#include <iostream>
#include <string_view>

namespace torva::cli {

namespace {

void printErrorLines(const std::string& message) {
    std::string text = "error: ";
    std::size_t start = 0;
    for (std::size_t end = message.find('\n'); end != std::string::npos;
         start = end + 1, end = message.find('\n', start))
        text += escapeUnprintable(std::string_view(message).substr(start, end - start)) + "\n";
    std::cerr << text << escapeUnprintable(std::string_view(message).substr(start)) << std::endl;
}

} // namespace

void fail(EExit status, const std::string& message) {
    throw CCommandError(status, message);
}

void failKeepingLines(EExit status, const std::string& message) {
    throw CCommandError(status, message, true);
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
            (error.keepsLines() ? printErrorLines : printError)(error.what());
        return static_cast<int>(error.status());
    } catch (const CRSError& error) {
        // A port that went away or is held by another program is said in words first.
        const std::string advice = portProblemText(diagnosePortProblem(error));
        if (advice.empty())
            printError(error.formattedText());
        else
            printErrorLines(advice);
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
