#include "support/recording_ui.h"

#include "platform/clock.h"

namespace torva::test {

void CRecordingUi::message(const std::string& text, const std::string& caption, EIcon icon) {
    std::lock_guard lock(m_lock);
    m_messages.push_back({text, caption, icon});
}

EAnswer CRecordingUi::question(const std::string& text, const std::string& caption,
                               EButtons buttons, EIcon icon) {
    std::lock_guard lock(m_lock);
    m_questions.push_back({text, caption, icon});
    if (!m_answers.empty()) {
        const EAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == EButtons::YesNo ? EAnswer::No : EAnswer::Cancel;
}

std::string CRecordingUi::chooseFile(const SFileChoice& choice) {
    std::lock_guard lock(m_lock);
    m_fileChoices.push_back(choice);
    if (m_files.empty())
        return {};
    std::string path = m_files.front();
    m_files.pop_front();
    return path;
}

void CRecordingUi::progress(const std::string&, int done, int) {
    std::lock_guard lock(m_lock);
    m_lastProgressDone = done;
}

void CRecordingUi::setWaitCursor(bool) {}

void CRecordingUi::responsiveWait(int ms) {
    {
        std::lock_guard lock(m_lock);
        m_responsiveWaitMs += ms;
    }
    appClock().sleepMs(ms);
}

void CRecordingUi::queueAnswer(EAnswer answer) {
    std::lock_guard lock(m_lock);
    m_answers.push_back(answer);
}

void CRecordingUi::queueFile(std::string path) {
    std::lock_guard lock(m_lock);
    m_files.push_back(std::move(path));
}

std::vector<CRecordingUi::SShown> CRecordingUi::messages() const {
    std::lock_guard lock(m_lock);
    return m_messages;
}

std::vector<CRecordingUi::SShown> CRecordingUi::questions() const {
    std::lock_guard lock(m_lock);
    return m_questions;
}

std::vector<SFileChoice> CRecordingUi::fileChoices() const {
    std::lock_guard lock(m_lock);
    return m_fileChoices;
}

int CRecordingUi::lastProgressDone() const {
    std::lock_guard lock(m_lock);
    return m_lastProgressDone;
}

int CRecordingUi::responsiveWaitMs() const {
    std::lock_guard lock(m_lock);
    return m_responsiveWaitMs;
}

} // namespace torva::test
