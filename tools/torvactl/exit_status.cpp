#include "exit_status.h"

#include "link/port_problem.h"
#include "link/rs_error.h"

#include <iostream>

namespace torva::cli {

void fail(EExit status, const std::string& message) {
    throw CCommandError(status, message);
}

void printError(const std::string& message) {
    std::cerr << "error: " << message << std::endl;
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
        // A port that went away or is held by another program is said in words first.
        const std::string advice = portProblemText(diagnosePortProblem(error));
        printError(advice.empty() ? error.formattedText() : advice);
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
