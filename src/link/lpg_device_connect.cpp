#include "link/lpg_device.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/demo_config.h"
#include "link/demo_state.h"
#include "link/last_port.h"
#include "link/port_names.h"
#include "link/port_problem.h"
#include "platform/error.h"
#include "platform/settings_store.h"
#include "platform/user_interface.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace torva {

namespace {

// Why path could not be opened as the controller's port: what the user can do about a busy,
// forbidden or vanished port, else the technical reason.
std::string describeOpenFailure(const std::string& path, const SPortProblem& problem,
                                const IError& error) {
    if (problem.kind != EPortProblem::Other)
        return portProblemText(problem);
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
    m_searchProblems.clear();
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
        const SPortProblem problem = diagnosePortProblem(error, path);
        // A busy or forbidden port is worth telling about even when the search goes on to
        // find nothing: it is usually the reason.
        // A search tries the remembered port twice; each port is told about once.
        if (problem.kind == EPortProblem::Busy || problem.kind == EPortProblem::NoPermission) {
            std::erase_if(m_searchProblems,
                          [&path](const SPortProblem& known) { return known.path == path; });
            m_searchProblems.push_back(problem);
        }
        return fail(describeOpenFailure(path, problem, error));
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
    std::string text = PL("Aplikacja nie może nawiązać połączenia ze sterownikiem na żadnym z "
                          "portów COM komputera.");
    if (!m_searchProblems.empty()) {
        text = translate(text);
        for (const SPortProblem& problem : m_searchProblems)
            text += "\n\n" + portProblemText(problem);
    }
    const EAnswer choice = appUi().noConnectionChoice(
        text, PL("Brak połączenia"), PL("Uruchom w trybie demo"), PL("Uruchom bez połączenia"));
    if (choice != EAnswer::Ok)
        return;
    startDemo();
}

void CLPGDevice::startDemo() {
    setDemo(true);
    setConnected(true);
    readDeviceInfo();
    withConfig([](CDeviceConfig& config) { applyDemoConfiguration(config); });
    restartDemoEngine();
}

} // namespace torva
