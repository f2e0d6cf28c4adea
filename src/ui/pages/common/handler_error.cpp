#include "ui/pages/common/handler_error.h"

#include "platform/error.h"

namespace torva {

std::string handlerErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const IError& projectError) {
        return projectError.formattedText();
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return "unknown exception";
    }
}

} // namespace torva
