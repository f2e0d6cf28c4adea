#pragma once

namespace torva {

// Identification tells the user "Brak połączenia" about a controller of unknown model only the
// first time in a run. Tests start each case afresh with this.
void resetUnknownModelNotice();

} // namespace torva
