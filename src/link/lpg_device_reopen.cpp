#include "link/lpg_device.h"

#include "platform/error.h"

namespace torva {

bool CLPGDevice::reOpen() {
    if (m_port == nullptr)
        return false;
    CMSGMutex::Guard exchange(m_exchangeMutex);
    // Its number goes to the next terminal made, often another program's (a second simulator):
    // opening the name again would take over that line. Kept open, the number stays ours.
    if (m_port->isHungUpPseudoTerminal())
        return false;
    const std::string path = m_port->devicePath();
    const int number = m_port->portNumber();
    try {
        m_port->close();
        // The path is exactly what was opened (a pseudo-terminal has no port number).
        if (!path.empty())
            m_port->open(path);
        else if (number > 0)
            m_port->open(number);
        else
            return false;
        m_port->setState(kControllerLine);
        m_port->setTimeout(kControllerTimeouts);
        return true;
    } catch (const IError&) {
        return false;
    }
}

} // namespace torva
