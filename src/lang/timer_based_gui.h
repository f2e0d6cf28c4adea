#pragma once

namespace torva {

// A window that shows live values; the main window's timer calls refresh() on the visible ones.
class ITimerBasedGUI {
public:
    virtual ~ITimerBasedGUI() = default;
    virtual void refresh() {}
};

} // namespace torva
