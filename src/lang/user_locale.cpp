#include "lang/user_locale.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace torva {

namespace {

constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint16_t kPrimaryMask = 0x03FF;
constexpr std::uint16_t kPrimarySpanish = 0x0A;

struct SRegion {
    const char* territory;
    std::uint16_t id;
};

// Spanish regions; a Spanish locale without a listed region takes Spain's modern sort.
constexpr std::array<SRegion, 20> kSpanish{{
    {"ES", 0x0C0A}, {"MX", 0x080A}, {"GT", 0x100A}, {"CR", 0x140A}, {"PA", 0x180A},
    {"DO", 0x1C0A}, {"VE", 0x200A}, {"CO", 0x240A}, {"PE", 0x280A}, {"AR", 0x2C0A},
    {"EC", 0x300A}, {"CL", 0x340A}, {"UY", 0x380A}, {"PY", 0x3C0A}, {"BO", 0x400A},
    {"SV", 0x440A}, {"HN", 0x480A}, {"NI", 0x4C0A}, {"PR", 0x500A}, {"US", 0x540A},
}};

constexpr std::array<SRegion, 5> kChinese{{
    {"TW", 0x0404},
    {"CN", 0x0804},
    {"HK", 0x0C04},
    {"SG", 0x1004},
    {"MO", 0x1404},
}};

struct SLanguageId {
    const char* language;
    std::uint16_t id;
};

constexpr std::array<SLanguageId, 7> kSingleRegion{{
    {"pl", 0x0415},
    {"ru", 0x0419},
    {"it", 0x0410},
    {"de", 0x0407},
    {"th", 0x041E},
    {"tr", 0x041F},
    {"el", 0x0408},
}};

template <std::size_t N>
std::uint16_t regionId(const std::array<SRegion, N>& regions, const std::string& territory,
                       std::uint16_t fallback) {
    for (const SRegion& region : regions) {
        if (territory == region.territory)
            return region.id;
    }
    return fallback;
}

std::string variable(const EnvironmentReader& environment, const char* name) {
    return environment(name).value_or(std::string{});
}

} // namespace

std::string userLocale(const EnvironmentReader& environment) {
    // LANGUAGE is a priority list, "pt_BR:pt:en".
    const std::string list = variable(environment, "LANGUAGE");
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            return list.substr(start, end - start);
        start = end + 1;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string value = variable(environment, name);
        if (!value.empty())
            return value;
    }
    return {};
}

std::uint16_t windowsLanguageId(std::string_view locale) {
    // language[_territory][.codeset][@modifier], or language-territory
    const std::size_t languageEnd = std::min(locale.find_first_of("_-.@"), locale.size());
    std::string language(locale.substr(0, languageEnd));
    std::string territory;
    if (languageEnd < locale.size() && (locale[languageEnd] == '_' || locale[languageEnd] == '-')) {
        const std::string_view rest = locale.substr(languageEnd + 1);
        territory = std::string(rest.substr(0, std::min(rest.find_first_of(".@"), rest.size())));
    }
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::transform(territory.begin(), territory.end(), territory.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    for (const SLanguageId& entry : kSingleRegion) {
        if (language == entry.language)
            return entry.id;
    }
    if (language == "es")
        return regionId(kSpanish, territory, 0x0C0A);
    if (language == "zh")
        return regionId(kChinese, territory, 0x0804);
    if (language == "pt")
        return territory.empty() || territory == "BR" ? 0x0416 : 0x0816;
    return kUsEnglish;
}

int languageIndexForWindowsId(std::uint16_t languageId) {
    switch (languageId) {
    case 0x0415:
        return 0;
    case 0x0419:
        return 2;
    case 0x0410:
        return 3;
    case 0x0407:
        return 4;
    case 0x041E:
        return 5;
    case 0x041F:
        return 6;
    case 0x0408:
        return 11;
    case 0x0416:
    case 0x0816:
        return 9;
    case 0x0404:
    case 0x0804:
    case 0x0C04:
    case 0x1004:
    case 0x1404:
        return 10;
    default:
        return (languageId & kPrimaryMask) == kPrimarySpanish ? 7 : 1;
    }
}

int initialLanguageIndex(const EnvironmentReader& environment) {
    return languageIndexForWindowsId(windowsLanguageId(userLocale(environment)));
}

int initialLanguageIndex() {
    return initialLanguageIndex([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value)
            return std::nullopt;
        return std::string(value);
    });
}

} // namespace torva
