#pragma once

#include "platform/user_interface.h"

#include <string>

namespace torva::cli {

// The user interface of a terminal run: nobody answers dialogs, so file choices return the
// command's FILE argument, questions are answered Yes only with --yes, messages and progress go
// to stderr. The latest error message is kept so a command can end with it.
class CCliUserInterface : public IUserInterface {
public:
    CCliUserInterface();

    void setAssumeYes(bool yes) { m_assumeYes = yes; }
    // What every file choice returns from now on (empty: cancelled).
    void setChosenFile(std::string path) { m_chosenFile = std::move(path); }
    // The translated text of the latest error message, empty when none came since the last take.
    std::string takeError();
    // The translated text of the latest question answered No for want of --yes, empty when none
    // came since the last take.
    std::string takeDeclinedQuestion();

    void message(const std::string& text, const std::string& caption, EIcon icon) override;
    EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                     EIcon icon) override;
    std::string chooseFile(const SFileChoice& choice) override;
    void progress(const std::string& text, int done, int total) override;
    void setWaitCursor(bool on) override;
    void responsiveWait(int ms) override;
    // The tool never falls back to demo mode by itself: run without a controller.
    EAnswer noConnectionChoice(const std::string& text, const std::string& caption,
                               const std::string& demoButton,
                               const std::string& withoutButton) override;

private:
    bool m_assumeYes = false;
    bool m_progressOnTerminal = false;
    int m_lastPercentShown = -1;
    std::string m_chosenFile;
    std::string m_lastError;
    std::string m_declinedQuestion;
};

} // namespace torva::cli
