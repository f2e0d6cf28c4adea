#pragma once

#include <functional>
#include <string>

namespace torva {

// Opens a local page in the desktop's browser; false when nothing took it.
bool openInBrowser(const std::string& page);

// "Dokumentacja": the user guide's page for the language (English where it has none), found in
// folder, opened with open. When the guide is not there, or nothing opens it, the user is told
// so.
void openUserGuide(const std::string& folder, int languageIndex,
                   const std::function<bool(const std::string& page)>& open = openInBrowser);

} // namespace torva
