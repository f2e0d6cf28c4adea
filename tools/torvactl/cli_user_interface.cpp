#include "cli_user_interface.h"

#include "lang/translation.h"
#include "platform/clock.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace torva::cli {

namespace {

// Without a terminal, progress is a line at every tenth of the work.
constexpr int kLinePercentStep = 10;

} // namespace

CCliUserInterface::CCliUserInterface() : m_progressOnTerminal(::isatty(STDERR_FILENO) != 0) {}

std::string CCliUserInterface::takeError() {
    std::string error;
    error.swap(m_lastError);
    return error;
}

std::string CCliUserInterface::takeDeclinedQuestion() {
    std::string question;
    question.swap(m_declinedQuestion);
    return question;
}

void CCliUserInterface::message(const std::string& text, const std::string& caption, EIcon icon) {
    const std::string shown = translate(text);
    if (icon == EIcon::Error)
        m_lastError = shown;
    std::cerr << translate(caption) << ": " << shown << std::endl;
}

EAnswer CCliUserInterface::question(const std::string& text, const std::string& caption,
                                    EButtons buttons, EIcon) {
    const bool yesNo = buttons == EButtons::YesNo;
    const EAnswer answer = m_assumeYes ? (yesNo ? EAnswer::Yes : EAnswer::Ok)
                                       : (yesNo ? EAnswer::No : EAnswer::Cancel);
    const std::string shown = translate(text);
    if (!m_assumeYes)
        m_declinedQuestion = shown;
    std::cerr << translate(caption) << ": " << shown << ' '
              << (m_assumeYes ? "yes (--yes)" : "no (answer yes with --yes)") << std::endl;
    return answer;
}

std::string CCliUserInterface::chooseFile(const SFileChoice&) {
    return m_chosenFile;
}

void CCliUserInterface::progress(const std::string& text, int done, int total) {
    const std::string label = text.empty() ? std::string("progress") : translate(text);
    if (total <= 0) {
        if (m_progressOnTerminal && m_lastPercentShown >= 0)
            std::cerr << std::endl;
        m_lastPercentShown = -1;
        return;
    }
    const int percent = static_cast<int>(100LL * done / total);
    if (m_progressOnTerminal) {
        if (percent != m_lastPercentShown)
            std::cerr << '\r' << label << ' ' << percent << '%' << std::flush;
        m_lastPercentShown = percent;
        return;
    }
    if (m_lastPercentShown < 0 ||
        percent / kLinePercentStep > m_lastPercentShown / kLinePercentStep || done == total) {
        if (percent != m_lastPercentShown)
            std::cerr << label << ' ' << percent << '%' << std::endl;
        m_lastPercentShown = percent;
    }
}

void CCliUserInterface::setWaitCursor(bool) {}

void CCliUserInterface::responsiveWait(int ms) {
    appClock().sleepMs(ms);
}

EAnswer CCliUserInterface::noConnectionChoice(const std::string&, const std::string&,
                                              const std::string&, const std::string&) {
    return EAnswer::Cancel;
}

} // namespace torva::cli
