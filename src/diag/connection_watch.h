#pragma once

#include <functional>

namespace torva {

class CLPGDevice;

// The main window's watch over the link, run on every tick of the refresh timer: it shows when
// the polling thread has lost the controller, tries to reconnect on every eleventh tick while
// it is lost, restarts polling once it is back, and has the pages refreshed while the store
// holds samples.
class CConnectionWatch {
public:
    // What the watch asks of the window and the document; all four are required.
    struct SActions {
        std::function<void(bool connected)> showConnectionState; // caption appearance
        std::function<bool()> reconnect; // the connection procedure; sets the connected flag
        std::function<void()> restartPolling;
        std::function<void()> refreshPages; // both page hosts, active page only
    };

    // Ticks between two reconnection attempts while disconnected, less one.
    static constexpr int kRetryCountdown = 10;

    CConnectionWatch(CLPGDevice& device, SActions actions);

    void tick();

    bool wasConnected() const { return m_wasConnected; }
    int countdown() const { return m_countdown; }

private:
    CLPGDevice& m_device;
    SActions m_actions;
    bool m_wasConnected = true;
    int m_countdown = kRetryCountdown;
};

} // namespace torva
