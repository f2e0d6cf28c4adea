#pragma once

#include <array>
#include <optional>

namespace torva {

// Menu command identifiers the document handles.
namespace doc_command {
constexpr int kRestoreFactorySettings = 32868;
constexpr int kProgramFirmware = 32876;
constexpr int kSaveSettingsFile = 32877;
constexpr int kLoadSettingsFile = 32878;
constexpr int kOpenDocumentation = 32897; // the user guide in the desktop's browser
} // namespace doc_command

// The document template: the .lpg document stores nothing of its own.
constexpr const char* kDocumentTemplate = "VEKODIESEL\n\nVEKODIESEL\nVEKO DIESEL Files "
                                          "(*.lpg)\n.lpg\nVEKODIESEL.Document\nVEKODIESEL.Document";
constexpr const char* kNewDocumentTitle = "OBD/Basic";

// The language menu: each command selects one language index (selectLanguage) and is disabled
// while that language is the current one.
struct SLanguageCommand {
    int commandId;
    int languageIndex;
};
constexpr std::array<SLanguageCommand, 14> kLanguageCommands{{
    {32879, 0},
    {32880, 1},
    {32881, 2},
    {32882, 3},
    {32883, 4},
    {32884, 5},
    {32885, 8},
    {32886, 14},
    {32887, 13},
    {32888, 15},
    {32889, 7},
    {32890, 11},
    {32891, 19},
    {32892, 18},
}};

// The language index a language command selects; std::nullopt for any other command.
constexpr std::optional<int> languageIndexForCommand(int commandId) {
    for (const SLanguageCommand& command : kLanguageCommands) {
        if (command.commandId == commandId)
            return command.languageIndex;
    }
    return std::nullopt;
}

} // namespace torva
