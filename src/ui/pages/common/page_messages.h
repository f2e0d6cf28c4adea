#pragma once

#include "lang/source_text.h"

namespace torva::page_message {

// The caption of every message a page shows.
inline constexpr const char* kCaption = "TORVA";
// A block write that used up its attempts.
inline constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
// A read from the controller that used up its attempts.
inline constexpr const char* kReadFailed = PL("Nie powiodło się wczytanie ustawień urządzenia!");
inline constexpr const char* kDieselFailed = PL("Nie powiodło się przełączenie na diesla!");
// An action that needs the controller while none is connected.
inline constexpr const char* kNoConnection = PL("BRAK POŁĄCZENIA");

} // namespace torva::page_message
