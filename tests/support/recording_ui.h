#pragma once

#include "platform/user_interface.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace torva::test {

// A user interface that records what the core showed and answers from a queue of prepared
// answers (default: No/Cancel, and no file). Installs itself as the app UI for its lifetime.
class CRecordingUi : public IUserInterface {
public:
    struct SShown {
        std::string text;
        std::string caption;
        EIcon icon;
    };

    CRecordingUi() { setAppUi(this); }
    ~CRecordingUi() override { setAppUi(nullptr); }
    CRecordingUi(const CRecordingUi&) = delete;
    CRecordingUi& operator=(const CRecordingUi&) = delete;

    void message(const std::string& text, const std::string& caption, EIcon icon) override;
    EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                     EIcon icon) override;
    std::string chooseFile(const SFileChoice& choice) override;
    void progress(const std::string& text, int done, int total) override;
    void setWaitCursor(bool on) override;
    void responsiveWait(int ms) override;

    void queueAnswer(EAnswer answer);
    void queueFile(std::string path);

    std::vector<SShown> messages() const;
    std::vector<SShown> questions() const;
    std::vector<SFileChoice> fileChoices() const;
    int lastProgressDone() const;
    int responsiveWaitMs() const;

private:
    mutable std::mutex m_lock;
    std::vector<SShown> m_messages;
    std::vector<SShown> m_questions;
    std::vector<SFileChoice> m_fileChoices;
    std::deque<EAnswer> m_answers;
    std::deque<std::string> m_files;
    int m_lastProgressDone = -1;
    int m_responsiveWaitMs = 0;
};

} // namespace torva::test
