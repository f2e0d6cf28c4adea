#include "config/settings_export.h"

#include "config/data_folders.h"
#include "config/settings_io.h"
#include "lang/source_text.h"
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
    {
        CWaitCursor waitCursor;
        written = writeSettings(path, live);
    }
    if (written)
        return EExportResult::Saved;
    appUi().message(PL("Nie można wpisać ustawień do pliku z danymi samochodu"), kMessageCaption,
                    EIcon::Error);
    return EExportResult::Failed;
}

std::string chooseSettingsFileToLoad() {
    return appUi().chooseFile(settingsFileChoice(false));
}

} // namespace torva
