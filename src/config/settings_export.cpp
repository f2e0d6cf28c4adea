#include "config/settings_export.h"

#include "config/data_folders.h"
#include "config/printable_text.h"
#include "config/settings_io.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/local_time.h"
#include "platform/user_interface.h"
#include "platform/wait_cursor.h"

namespace torva {

namespace {

constexpr const char* kMessageCaption = "TORVA";

SFileChoice settingsFileChoice(bool save) {
    SFileChoice choice;
    choice.save = save;
    choice.folder = settingsFolder();
    choice.defaultExtension = kSettingsFileExtension;
    choice.filter = "Settings file (*.dsettings)|*.dsettings|";
    return choice;
}

} // namespace

std::string settingsTimeStamp(std::chrono::system_clock::time_point when) {
    return localTimeText(when, "%d-%m-%Y-%H:%M:%S", "");
}

EExportResult exportSettings(CDeviceConfig& live, std::chrono::system_clock::time_point now) {
    live.m_timeStamp = settingsTimeStamp(now);
    const std::string path = appUi().chooseFile(settingsFileChoice(true));
    if (path.empty())
        return EExportResult::Cancelled;

    bool written = false;
    std::string failure;
    {
        CWaitCursor waitCursor;
        written = writeSettings(path, live, &failure);
    }
    if (written)
        return EExportResult::Saved;
    // The file and the system's reason on a second line: a full disk, a folder without write
    // permission, a FIFO or device in the file's place.
    appUi().message(translate(PL("Nie można wpisać ustawień do pliku z danymi samochodu")) + "\n" +
                        escapeUnprintable(path) + ": " + failure,
                    kMessageCaption, EIcon::Error);
    return EExportResult::Failed;
}

std::string chooseSettingsFileToLoad() {
    return appUi().chooseFile(settingsFileChoice(false));
}

} // namespace torva
