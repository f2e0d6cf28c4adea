#pragma once

#include "lang/source_text.h"
#include "platform/user_interface.h"

namespace torva::doc_message {

constexpr const char* kCaption = "TORVA";

constexpr const char* kSettingFailed = PL("Nie powiodło się ustawienie urządzenia!");
constexpr const char* kInjectionMapFailed =
    PL("Nie powiodło się wpisanie mapy wtrysków do urządzenia!");
constexpr const char* kFactoryQuestion = PL("Czy chcesz przywrócić ustawienia fabryczne?");
constexpr const char* kProgrammingFailed = PL("Nie powiodło się zaprogramowanie urządzenia!");
constexpr const char* kWrongFirmwareFile = PL("Niewłaściwy plik firmware dla sterownika!");
constexpr const char* kFirmwareFilter = PL("Firmware files (*.afm)|*.afm|");
constexpr const char* kOlderFirmwareQuestion =
    PL("Wersja sterownika jest nowsza niż wersja pliku firmware. Czy chcesz zaprogramować "
       "sterownik starszą wersją?");
// %s: the backup file and the system's reason.
constexpr const char* kBackupFailedQuestion =
    PL("Nie można zapisać kopii zapasowej ustawień sterownika:\n%s\nCzy kontynuować mimo to?");

// %s: the file's name.
constexpr const char* kRestoreQuestion =
    PL("Czy chcesz wczytać do urządzenia wszystkie ustawienia z pliku %s?");
constexpr const char* kApplyQuestion =
    PL("Czy chcesz wpisać do urządzenia zaznaczone grupy ustawień z pliku %s?");

// Every failure of a document command is shown this way.
inline void showError(const char* text) {
    appUi().message(text, kCaption, EIcon::Error);
}

} // namespace torva::doc_message
