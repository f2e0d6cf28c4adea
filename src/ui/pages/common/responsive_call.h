#pragma once

#include <functional>

namespace torva {

// Runs a blocking controller operation from the window's thread without freezing the window:
// the operation runs on a helper thread while this thread keeps painting (user input waits, so
// no second command starts inside the first), showing the wait cursor once it has taken over
// 300 ms. Returns when the operation has ended; an exception it raised is raised here again.
//
// Off the window's thread, or with no application, the operation simply runs here.
void runResponsively(const std::function<void()>& operation);

// The same for a read the window starts by itself (a periodic refresh): no wait cursor and user
// input goes on, since the user did not ask for it and must not see the window stall every few
// seconds. Timer-driven work still skips its turn meanwhile.
void runInBackground(const std::function<void()>& operation);

// True while runResponsively is waiting for an operation. Timer-driven work (refresh,
// reconnection) skips its turn then instead of starting a second exchange sequence.
bool responsiveCallRunning();

} // namespace torva
