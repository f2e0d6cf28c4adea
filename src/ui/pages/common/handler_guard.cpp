#include "ui/pages/common/handler_guard.h"

#include "platform/error.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_messages.h"

#include <exception>
#include <string>

namespace torva {

namespace {

void showHandlerError(const char* context, const std::string& text) {
    appUi().message(std::string(context) + "\n" + text, page_message::kCaption, EIcon::None);
}

} // namespace

void runHandler(const char* context, const std::function<void()>& body) {
    try {
        body();
    } catch (const IError& error) {
        showHandlerError(context, error.formattedText());
    } catch (const std::exception& error) {
        // Anything else escaping a handler would end the program from inside the event loop.
        showHandlerError(context, error.what());
    }
}

} // namespace torva
