#include "lang/user_guide.h"

#include "platform/folders.h"

#include <array>
#include <filesystem>
#include <utility>

namespace torva {

namespace {

constexpr std::array<std::pair<int, const char*>, 14> kCodes{{
    {0, "pl"},
    {1, "en"},
    {2, "ru"},
    {3, "it"},
    {4, "de"},
    {5, "th"},
    {7, "es"},
    {8, "fr"},
    {11, "el"},
    {13, "sr"},
    {14, "hr"},
    {15, "bs"},
    {18, "bg"},
    {19, "sl"},
}};

std::string pageIfPresent(const std::string& folder, const char* code) {
    const std::string page = folder + "guide-" + code + ".html";
    std::error_code ec;
    return std::filesystem::is_regular_file(page, ec) ? page : std::string();
}

} // namespace

std::string userGuidePage(const std::string& folder, int languageIndex) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    for (const auto& [index, code] : kCodes) {
        if (index != languageIndex)
            continue;
        if (std::string page = pageIfPresent(base, code); !page.empty())
            return page;
    }
    return pageIfPresent(base, "en");
}

std::string userGuideFolder() {
    return programDataFolder("Doc");
}

} // namespace torva
