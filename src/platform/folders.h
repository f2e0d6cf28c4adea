#pragma once

#include <string>

namespace torva {

// The user's documents folder: XDG_DOCUMENTS_DIR from user-dirs.dirs, else ~/Documents.
// Always ends with '/'.
std::string documentsFolder();

// The folder holding the running executable, ending with '/'.
std::string executableFolder();

// A program-relative data folder ("DIESEL_LANG", "Diesel Firmware", "Doc"): beside the
// executable when it exists there, else in the installed data folder (found from the
// executable's own folder, else at the configured prefix). Ends with '/'.
std::string programDataFolder(const std::string& name);

// Creates folder and its missing parents; failures are ignored (callers see them on use).
void createFolders(const std::string& folder);

} // namespace torva
