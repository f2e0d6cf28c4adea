#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

// The initial language comes from the user's locale, mapped onto Windows language identifiers
// and then onto a language index, so the choice matches the one made on Windows.

// Reads one environment variable; empty or nullopt when unset.
using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

// The user's message locale: the first entry of LANGUAGE, else LC_ALL, else LC_MESSAGES, else
// LANG; the first that is set and not empty. Empty when none is.
std::string userLocale(const EnvironmentReader& environment);

// "pl_PL.UTF-8", "pt-BR", "zh_TW@x" → the Windows language identifier of that language and
// region. Languages the program does not start in map to US English (0x0409).
std::uint16_t windowsLanguageId(std::string_view locale);

// Polish 0x0415 → 0, Russian → 2, Italian → 3, German → 4, Thai → 5, Turkish → 6, Spanish
// (every region) → 7, Portuguese → 9, Chinese → 10, Greek → 11, anything else → 1.
int languageIndexForWindowsId(std::uint16_t languageId);

int initialLanguageIndex(const EnvironmentReader& environment);
// From the process environment.
int initialLanguageIndex();

} // namespace torva
