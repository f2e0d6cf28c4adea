#pragma once

#include <functional>
#include <string>
#include <vector>

namespace torva {

// The only way the core talks to the user. Core code passes Polish source texts; the
// implementations (desktop application, command line, tests) translate them for display.
enum class EIcon { None, Information, Warning, Error, Question };
enum class EButtons { Ok, OkCancel, YesNo };
enum class EAnswer { Ok, Cancel, Yes, No };

struct SFileChoice {
    bool save = false;            // save dialog instead of open dialog
    std::string folder;           // initial folder, '/'-terminated or empty
    std::string defaultName;      // suggested file name
    std::string defaultExtension; // without the dot, e.g. "dsettings"
    std::string filter;           // e.g. "Pliki ustawień (*.dsettings)"
};

class IUserInterface {
public:
    virtual ~IUserInterface() = default;
    virtual void message(const std::string& text, const std::string& caption, EIcon icon) = 0;
    virtual EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                             EIcon icon) = 0;
    // Returns the chosen path, or an empty string when the user cancelled.
    virtual std::string chooseFile(const SFileChoice& choice) = 0;
    // Progress of long work: done out of total; total 0 ends the progress display.
    virtual void progress(const std::string& text, int done, int total) = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Sleeps ms milliseconds while keeping the window painting and answering.
    virtual void responsiveWait(int ms) = 0;
    // Runs one blocking controller exchange (or a short run of them) started by the user. A
    // window keeps painting meanwhile and shows the wait cursor once it lasts over 300 ms;
    // without one it simply runs. An exception of the exchange reaches the caller.
    virtual void runExchange(const std::function<void()>& exchange) { exchange(); }
    // The choice offered when no port answered: Ok runs in demo mode (demoButton), Cancel runs
    // without a controller (withoutButton). Without buttons of its own it is a plain OK/Cancel
    // question, so nobody in front of the screen means "without a controller".
    virtual EAnswer noConnectionChoice(const std::string& text, const std::string& caption,
                                       const std::string& demoButton,
                                       const std::string& withoutButton);
};

// A user interface with nobody in front of it: messages go to standard error, questions are
// answered No/Cancel, file choices are cancelled, waits are plain sleeps on the app clock.
class CHeadlessUserInterface : public IUserInterface {
public:
    void message(const std::string& text, const std::string& caption, EIcon icon) override;
    EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                     EIcon icon) override;
    std::string chooseFile(const SFileChoice& choice) override;
    void progress(const std::string& text, int done, int total) override;
    void setWaitCursor(bool on) override;
    void responsiveWait(int ms) override;
};

// The process-wide user interface; headless unless the application installs its own.
IUserInterface& appUi();
// Installs ui (nullptr restores the headless one). The caller keeps ownership.
void setAppUi(IUserInterface* ui);

} // namespace torva
