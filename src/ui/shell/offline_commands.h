#pragma once

#include "lang/source_text.h"

#include <functional>
#include <string>

class QWidget;

namespace torva {

class CVeko2012Doc;

// Before the reason a settings file cannot be opened offline.
constexpr const char* kOfflineOpenRefused = PL("Nie można otworzyć pliku ustawień offline:");

// The File menu's commands for a settings file edited without a controller: open it in place of
// the controller, save it where it is or elsewhere, close it and go back to the controller, or
// write it into a controller through the backups dialog's comparison. Unsaved changes are never
// lost unasked: whatever would replace the file asks Save / Discard / Cancel first.
class COfflineCommands {
public:
    struct SHooks {
        // The device went offline or came back: pages, caption, menu and polling follow.
        std::function<void()> linkChanged;
        // The file was saved or a backup written: caption and status bar follow.
        std::function<void()> saved;
    };

    COfflineCommands(CVeko2012Doc& doc, QWidget* owner, SHooks hooks);

    // "Otwórz plik ustawień (offline)…": a file chosen by the user.
    void openChosen();
    // Opens path offline (polling stops first); a refused file is named with its reason and
    // the window stays as it was. True when the file is open.
    bool open(const std::string& path);
    // "Zapisz": in place, the previous version copied into the Backup folder first.
    bool save();
    // "Zapisz jako…": elsewhere; the window goes on with the new name.
    bool saveAs();
    // "Zamknij plik": back to the controller. False when the user kept the file.
    bool closeFile();
    // "Zapisz do sterownika…": connects, refuses a file made for another controller type or
    // firmware, backs the controller up and opens the comparison with the file as its source.
    void writeToController();

    // Before anything replaces or closes the file: asks about unsaved changes. True when
    // nothing unsaved would be lost (saved, discarded, or there was nothing).
    bool mayLeaveFile();

private:
    bool openFile(const std::string& path);
    // Saves to path and tells the window; false after the user was told why not.
    bool saveTo(const std::string& path);

    CVeko2012Doc& m_doc;
    QWidget* m_owner;
    SHooks m_hooks;
};

} // namespace torva
