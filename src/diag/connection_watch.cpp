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
    } else if (!m_wasConnected && connected) {
        // Connected by a command of its own (the search after firmware programming).
        m_actions.showConnectionState(true);
        m_wasConnected = true;
    } else if (!m_wasConnected && m_countdown-- <= 0) {
        attempt(false);
    }
    // Also without samples: a page left showing the last ones would pass the past off as live.
    m_actions.refreshPages();
}

void CConnectionWatch::reconnectNow() {
    if (m_attempting)
        return;
    if (m_device.isConnected()) {
        m_actions.stopPolling();
        m_device.setDemo(false);
        m_device.setConnected(false);
    }
    if (m_wasConnected) {
        m_actions.showConnectionState(false);
        m_wasConnected = false;
    }
    attempt(true);
    m_actions.refreshPages();
}

void CConnectionWatch::attempt(bool userAsked) {
    // Armed again whatever this attempt comes to; only a running connection disarms it.
    m_countdown = kRetryCountdown;
    m_attempting = true;
    // What the pages were built from: a failed attempt must not leave half a read in it.
    const CDeviceConfig shown = m_device.configCopy();
    bool running = false;
    try {
        m_actions.reconnect(userAsked);
        if (m_device.isConnected()) {
            m_actions.restartPolling();
            running = m_device.isConnected();
        }
    } catch (...) {
        m_attempting = false;
        throw;
    }
    m_attempting = false;
    if (!running) {
        m_device.setConnected(false);
        m_device.withConfig([&shown](CDeviceConfig& config) { config = shown; });
        return;
    }
    m_wasConnected = true;
    m_actions.reconnected(controllerChange(shown, m_device.configCopy()));
}

} // namespace torva
