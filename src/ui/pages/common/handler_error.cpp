#include "ui/pages/common/handler_error.h"

#include "link/port_problem.h"
#include "platform/error.h"

namespace torva {

std::string handlerErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const IError& projectError) {
        // A port that went away or is held by another program is said in words first.
        const std::string advice = portProblemText(diagnosePortProblem(projectError));
        return advice.empty() ? projectError.formattedText() : advice;
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return "unknown exception";
    }
}

} // namespace torva
