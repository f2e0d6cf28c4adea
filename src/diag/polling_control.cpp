#include "diag/polling_control.h"

#include "diag/diag_threads.h"
#include "diag/lpg_thread_manager.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"

#include <memory>
#include <system_error>

namespace torva {

CPollingControl::CPollingControl(CLPGDevice& device)
    : CPollingControl(device, lpgThreadManager().threadManager()) {}

CPollingControl::CPollingControl(CLPGDevice& device, CThreadManager& threads)
    : m_device(device), m_threads(threads) {}

CPollingControl::~CPollingControl() {
    // A thread still inside an exchange after the bound is stuck on the line; the device it
    // uses must not be freed under it, and the document goes only at exit anyway.
    if (!endRunningThread())
        endProcessNow();
}

bool CPollingControl::startPolling(const std::string& fileName) {
    m_recordingFileName = namesFolder(fileName) ? std::string() : fileName;
    return startThread(CDiagFile::EOpen::Replace);
}

bool CPollingControl::restartPolling() {
    return startThread(CDiagFile::EOpen::Append);
}

bool CPollingControl::startThread(CDiagFile::EOpen mode) {
    if (!m_device.hasLiveDiagnostics()) {
        m_polling.store(false);
        stopTimer();
        return false;
    }
    // The polling flag is shared: an earlier thread still in its loop would go on beside the
    // new one.
    if (!endRunningThread()) {
        awaitReconnection();
        return false;
    }
    m_polling.store(true);
    bool fileOpened = false;
    try {
        auto thread = std::make_unique<CDiagRSThread>(
            m_recordingFileName, &m_device, &m_device.diagData(), &m_polling, &m_recording, mode);
        // Asked before the thread runs: a link lost at once closes the file again, and that is a
        // pause, not a file that cannot be made.
        fileOpened = !thread->recordingName().empty();
        m_threads.insert(std::move(thread));
    } catch (const std::system_error&) {
        m_polling.store(false);
        awaitReconnection();
        return false;
    }
    if (isRecording() && !fileOpened) {
        // Neither paused nor written: a recording nobody sees grow is no recording.
        appUi().message(translate(PL("Nie można utworzyć pliku nagrania:")) + "\n" +
                            m_recordingFileName,
                        "TORVA", EIcon::Error);
        m_recordingFileName.clear();
    }
    if (m_timer != nullptr)
        m_timer->startRefreshTimer(kRefreshPeriodMs);
    return true;
}

bool CPollingControl::startRecording(const std::string& fileName) {
    const bool connected = m_device.isConnected();
    stopPolling();
    m_recordingFileName.clear();
    CDiagFile file;
    if (file.open(fileName, CDiagFile::EOpen::Replace))
        m_recordingFileName = fileName;
    else
        appUi().message(translate(PL("Nie można utworzyć pliku nagrania:")) + "\n" + fileName,
                        "TORVA", EIcon::Error);
    file.close();
    if (connected)
        restartPolling();
    else
        awaitReconnection();
    return isRecording();
}

void CPollingControl::stopRecording() {
    m_recordingFileName.clear();
    if (isPolling())
        restartPolling();
}

void CPollingControl::stopPolling() {
    m_polling.store(false);
    stopTimer();
    endRunningThread();
}

void CPollingControl::awaitReconnection() {
    m_device.setConnected(false);
    if (m_timer != nullptr)
        m_timer->startRefreshTimer(kRefreshPeriodMs);
}

bool CPollingControl::endRunningThread() {
    if (!m_threads.anyRunning())
        return true;
    m_polling.store(false);
    return m_threads.waitAll(kThreadEndTimeoutMs);
}

void CPollingControl::stopTimer() {
    if (m_timer != nullptr)
        m_timer->stopRefreshTimer();
}

} // namespace torva
