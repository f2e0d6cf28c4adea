#pragma once

#include <span>

namespace torva {

// Language indexes: 0 is Polish, the texts as written. Every other index has a slot that may
// hold a language file; index 10 and every index above 19 share the English slot.
constexpr int kPolishLanguage = 0;
constexpr int kEnglishLanguage = 1;
constexpr int kLanguageSlotCount = 20;

struct SLanguage {
    int index;
    const char* fileName; // in the language folder
    const char* menuText; // Polish source text of the language menu item
};

// The languages with a file, in the order the files are opened.
std::span<const SLanguage> languageFiles();

// The language menu, in menu order; Polish first (no file).
std::span<const SLanguage> languageMenu();

// The slot whose file serves index: 0 for Polish (no file), 1 for index 10 and indexes above
// 19 (and for negative ones), else the index itself.
int languageSlot(int index);

} // namespace torva
