#include "diag/polling_control.h"

#include "diag/diag_threads.h"
#include "diag/lpg_thread_manager.h"
#include "link/lpg_device.h"

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
    m_recordingFileName = fileName;
    try {
        m_threads.insert(std::make_unique<CDiagRSThread>(fileName, &m_device, &m_device.diagData(),
                                                         &m_polling, &m_recording));
    } catch (const std::system_error&) {
        m_polling.store(false);
        awaitReconnection();
        return false;
    }
    if (m_timer != nullptr)
        m_timer->startRefreshTimer(kRefreshPeriodMs);
    return true;
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
