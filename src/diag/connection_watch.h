#pragma once

#include "config/controller_change.h"

#include <functional>

namespace torva {

class CLPGDevice;

// The main window's watch over the link, run on every tick of the refresh timer: it shows when
// the polling thread has lost the controller, tries to reconnect on every eleventh tick while
// it is lost (also when the program started without one), restarts polling once it is back,
// and has the pages refreshed on every tick, so they show a lost link at once.
class CConnectionWatch {
public:
    // What the watch asks of the window and the document; all are required.
    struct SActions {
        std::function<void(bool connected)> showConnectionState; // caption appearance
        // The connection procedure; it sets the connected flag. userAsked: the user's own
        // "connect" rather than the periodic retry.
        std::function<bool(bool userAsked)> reconnect;
        // Polling again; when it cannot start it clears the connected flag.
        std::function<void()> restartPolling;
        std::function<void()> stopPolling;
        // Polling runs again after a reconnection; change: how the controller now on the line
        // relates to the one the pages were built for.
        std::function<void(EControllerChange change)> reconnected;
        std::function<void()> refreshPages; // both page hosts, active page only
    };

    // Ticks between two reconnection attempts while disconnected, less one.
    static constexpr int kRetryCountdown = 10;

    CConnectionWatch(CLPGDevice& device, SActions actions);

    void tick();
    // The user's "connect": an attempt now, whatever the countdown says; a connected controller
    // is let go first (the cable may have moved to another car). Nothing while an attempt runs.
    void reconnectNow();

    bool wasConnected() const { return m_wasConnected; }
    int countdown() const { return m_countdown; }
    // True while a reconnection attempt runs (the window goes on painting meanwhile).
    bool attempting() const { return m_attempting; }

private:
    void attempt(bool userAsked);

    CLPGDevice& m_device;
    SActions m_actions;
    bool m_wasConnected = true;
    bool m_attempting = false;
    int m_countdown = kRetryCountdown;
};

} // namespace torva
