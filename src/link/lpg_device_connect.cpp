#include "link/lpg_device.h"

#include "lang/source_text.h"
#include "link/last_port.h"
#include "link/port_names.h"
#include "platform/error.h"
#include "platform/settings_store.h"
#include "platform/user_interface.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace torva {

namespace {

// Why path could not be opened as the controller's port, in words a command line can show.
std::string describeOpenFailure(const std::string& path, const IError& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return path + ": no such device";
    if (!S_ISCHR(info.st_mode))
        return path + ": not a serial port (not a character device)";
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        const bool terminal = ::isatty(fd) != 0;
        ::close(fd);
        if (!terminal)
            return path + ": not a serial port (not a terminal)";
    }
    return path + ": cannot be opened: " + error.formattedText();
}

} // namespace

void CLPGDevice::setPortDiscovery(SPortDiscovery discovery) {
    m_discovery = std::move(discovery);
}

void CLPGDevice::setSettingsPath(std::string path) {
    m_settingsPath = std::move(path);
}

void CLPGDevice::searchAndConnect() {
    searchAndConnect(m_discovery.presentPorts ? m_discovery.presentPorts() : presentPorts());
}

void CLPGDevice::searchAndConnect(const std::vector<int>& present) {
    setDemo(false);
    setConnected(false);
    const SLastPort last = readLastPort(CSettingsStore(m_settingsPath));

    // The remembered device first: a renumbered adapter or a pseudo-terminal is found there.
    std::string triedPath;
    if (!last.path.empty() && ::access(last.path.c_str(), F_OK) == 0) {
        const int number = portForDevicePath(last.path);
        if (connectDevice(last.path, number != 0 ? number : last.number, nullptr))
            return;
        triedPath = last.path;
    }
    const auto lastIt = std::find(present.begin(), present.end(), last.number);
    if (last.number != 0 && lastIt != present.end()) {
        const std::string path = m_discovery.pathForPort ? m_discovery.pathForPort(last.number)
                                                         : devicePathForPort(last.number);
        if (path != triedPath && tryPort(last.number, path))
            return;
    }
    for (const int port : present) {
        if (connect(port))
            return;
    }
    offerDemo();
}

bool CLPGDevice::connect(int portNumber) {
    const std::string path = m_discovery.pathForPort ? m_discovery.pathForPort(portNumber)
                                                     : devicePathForPort(portNumber);
    return tryPort(portNumber, path);
}

bool CLPGDevice::connect(const std::string& devicePath, std::string* why) {
    return connectDevice(devicePath, portForDevicePath(devicePath), why);
}

bool CLPGDevice::tryPort(int portNumber, const std::string& path) {
    if (path.empty())
        return false;
    return connectDevice(path, portNumber, nullptr);
}

bool CLPGDevice::connectDevice(const std::string& path, int portNumber, std::string* why) {
    const auto fail = [&](std::string reason) {
        if (why != nullptr)
            *why = std::move(reason);
        return false;
    };
    if (m_port == nullptr)
        return fail("the device talks over a channel of its own, not a serial port");
    try {
        // Under the exchange mutex, so a thread still polling never sees the port half open.
        CMSGMutex::Guard exchange(m_exchangeMutex);
        m_port->close();
        m_port->open(path);
        m_port->setState(kControllerLine);
        m_port->setTimeout(kControllerTimeouts);
    } catch (const IError& error) {
        return fail(describeOpenFailure(path, error));
    }
    bool read = false;
    std::string reason = "no controller answered on " + path;
    try {
        read = readConfiguration();
    } catch (const IError& error) {
        reason = path + ": " + error.formattedText();
    }
    if (!read && m_unsupportedModel)
        reason = "a controller of an unsupported model (model number " +
                 std::to_string(*m_unsupportedModel) + ") answered on " + path;
    if (!read) {
        // A port that is not the controller's is not kept locked against other programs.
        CMSGMutex::Guard exchange(m_exchangeMutex);
        m_port->close();
        return fail(reason);
    }
    CSettingsStore store(m_settingsPath);
    storeLastPort(store, {portNumber, path});
    return true;
}

void CLPGDevice::offerDemo() {
    const EAnswer choice = appUi().noConnectionChoice(
        PL("Aplikacja nie może nawiązać połączenia ze sterownikiem na żadnym z portów COM "
           "komputera."),
        PL("Brak połączenia"), PL("Uruchom w trybie demo"), PL("Uruchom bez połączenia"));
    if (choice != EAnswer::Ok)
        return;
    setDemo(true);
    setConnected(true);
    readDeviceInfo();
}

} // namespace torva
