#include "ui/shell/port_connection.h"

#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "platform/error.h"

namespace torva {

bool connectToPath(CLPGDevice& device, const std::string& devicePath) {
    device.setDemo(false);
    device.setConnected(false);
    CSerialPort* port = device.serialPort();
    if (port == nullptr || devicePath.empty()) {
        return false;
    }
    try {
        {
            CMSGMutex::Guard exchange(device.exchangeMutex());
            port->open(devicePath);
            port->setState(kControllerLine);
            port->setTimeout(kControllerTimeouts);
        }
        return device.readConfiguration();
    } catch (const IError&) {
        return false;
    }
}

void startDemo(CLPGDevice& device) {
    device.setDemo(true);
    device.setConnected(true);
    device.readDeviceInfo();
}

void offerDemo(CLPGDevice& device, const std::function<bool()>& askForDemo) {
    device.setDemo(false);
    device.setConnected(false);
    if (askForDemo && askForDemo()) {
        startDemo(device);
    }
}

} // namespace torva
