#pragma once

#include <exception>
#include <string>

namespace torva {

// The text a window handler shows for an error it caught: the project's own errors with their
// description and source, any other exception (a library's, a failed allocation) with its own
// text. A handler catches everything, since an exception leaving it would end the program.
std::string handlerErrorText(const std::exception_ptr& error);

} // namespace torva
