#pragma once

#include <string>

namespace torva {

// The user guide's page for a language: guide-CODE.html in folder, CODE the language's
// two-letter code ("pl", "en", "de", ...). A language without a page of its own gets the
// English one. Empty when the folder holds neither (the guide is not installed).
std::string userGuidePage(const std::string& folder, int languageIndex);

// Where the guide is looked for: the "Doc" data folder, beside the program in a build tree or
// in the installed data folder, as the language files are found.
std::string userGuideFolder();

} // namespace torva
