#include "lang/languages.h"

#include "lang/source_text.h"

#include <array>

namespace torva {

namespace {

constexpr std::array<SLanguage, 13> kFiles{{
    {1, "ENGLISH.txt", PL("Angielski")},
    {2, "RUSSIAN.txt", PL("Rosyjski")},
    {3, "ITALIAN.txt", PL("Włoski")},
    {4, "GERMAN.txt", PL("Niemiecki")},
    {5, "THAI.txt", PL("Tajski")},
    {8, "FRENCH.txt", PL("Francuski")},
    {14, "CROATIAN.txt", PL("Chorwacki")},
    {13, "SERBIAN.txt", PL("Serbski")},
    {15, "BOSNIAN.txt", PL("Bośniacki")},
    {11, "GREEK.txt", PL("Grecki")},
    {7, "SPAIN.txt", PL("Hiszpański")},
    {18, "BULGARIAN.txt", PL("Bułgarski")},
    {19, "SLOVENIAN.txt", PL("Słoweński")},
}};

constexpr std::array<SLanguage, 14> kMenu{{
    {0, nullptr, PL("Polski")},
    {1, "ENGLISH.txt", PL("Angielski")},
    {2, "RUSSIAN.txt", PL("Rosyjski")},
    {3, "ITALIAN.txt", PL("Włoski")},
    {4, "GERMAN.txt", PL("Niemiecki")},
    {5, "THAI.txt", PL("Tajski")},
    {8, "FRENCH.txt", PL("Francuski")},
    {14, "CROATIAN.txt", PL("Chorwacki")},
    {13, "SERBIAN.txt", PL("Serbski")},
    {15, "BOSNIAN.txt", PL("Bośniacki")},
    {7, "SPAIN.txt", PL("Hiszpański")},
    {11, "GREEK.txt", PL("Grecki")},
    {19, "SLOVENIAN.txt", PL("Słoweński")},
    {18, "BULGARIAN.txt", PL("Bułgarski")},
}};

} // namespace

std::span<const SLanguage> languageFiles() {
    return kFiles;
}

std::span<const SLanguage> languageMenu() {
    return kMenu;
}

int languageSlot(int index) {
    if (index == kPolishLanguage)
        return kPolishLanguage;
    if (index == 10 || index < 0 || index >= kLanguageSlotCount)
        return kEnglishLanguage;
    return index;
}

} // namespace torva
