#include "diag/connection_watch.h"

#include "link/lpg_device.h"

namespace torva {

CConnectionWatch::CConnectionWatch(CLPGDevice& device, SActions actions)
    : m_device(device), m_actions(std::move(actions)) {}

void CConnectionWatch::tick() {
    const bool connected = m_device.isConnected();
    if (m_wasConnected && !connected) {
        m_actions.showConnectionState(false);
        m_wasConnected = false;
        m_countdown = kRetryCountdown;
        return;
    }
    if (!m_wasConnected && connected) {
        m_actions.showConnectionState(true);
        m_wasConnected = true;
    } else if (!m_wasConnected && m_countdown-- == 0) {
        // Judged by the connected flag the procedure leaves, not by its result.
        m_actions.reconnect();
        if (m_device.isConnected()) {
            m_actions.showConnectionState(true);
            m_actions.restartPolling();
        } else {
            m_countdown = kRetryCountdown;
        }
    }
    if (m_device.diagData().count() >= 1)
        m_actions.refreshPages();
}

} // namespace torva
