#pragma once

namespace torva {

// Identification tells the user about a controller of an unsupported model only the
// first time in a run. Tests start each case afresh with this.
void resetUnknownModelNotice();

} // namespace torva
