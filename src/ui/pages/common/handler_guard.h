#pragma once

#include <functional>

namespace torva {

// Runs the body of a window handler. An error raised inside it is shown as the handler's
// context line ("CEGTDlg::OnDeltaposSpinMaxKnock()"), a line break and the error's own text,
// caption "TORVA", no icon; the handler then simply ends.
void runHandler(const char* context, const std::function<void()>& body);

} // namespace torva
