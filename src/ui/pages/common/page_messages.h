#pragma once

#include "lang/source_text.h"

namespace torva::page_message {

// The caption of every message a page shows.
inline constexpr const char* kCaption = "TORVA";
// A block write that used up its attempts.
inline constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");

} // namespace torva::page_message
