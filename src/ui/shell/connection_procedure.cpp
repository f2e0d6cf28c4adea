#include "ui/shell/connection_procedure.h"

#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/responsive_call.h"

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";

// Holds a flag or a count raised for one scope, however the scope is left.
class CRaised {
public:
    explicit CRaised(int& count) : m_count(count) { ++m_count; }
    ~CRaised() { --m_count; }
    CRaised(const CRaised&) = delete;
    CRaised& operator=(const CRaised&) = delete;

private:
    int& m_count;
};

} // namespace

CConnectionProcedure::CConnectionProcedure(CVeko2012Doc& doc, EMode mode, std::string portPath)
    : m_doc(doc), m_device(doc.device()), m_mode(mode), m_portPath(std::move(portPath)) {
    m_doc.setSearchAndConnect([this] { return connectAfterProgramming(); });
    m_device.setForcedProgramming([this] { return forcedProgramming(); });
}

CConnectionProcedure::~CConnectionProcedure() {
    m_doc.setSearchAndConnect(nullptr);
    CVeko2012Doc& doc = m_doc;
    m_device.setForcedProgramming([&doc] { return doc.programFirmware(true); });
}

void CConnectionProcedure::connectAtStartUp() {
    const CRaised connecting(m_connecting);
    switch (m_mode) {
    case EMode::Demo:
        startDemo();
        return;
    case EMode::Search:
        runResponsively([this] { m_device.searchAndConnect(); });
        return;
    case EMode::Port:
        break;
    }
    bool connected = false;
    std::string why;
    runResponsively([&] { connected = m_device.connect(m_portPath, &why); });
    if (connected) {
        return;
    }
    appUi().message(translate(PL("Nie można połączyć się ze sterownikiem.")) + "\n" + why, kCaption,
                    EIcon::Error);
    offerDemo();
}

bool CConnectionProcedure::connectAfterProgramming() {
    if (m_connecting > 0) {
        // Identification inside a running connection found a controller without an
        // application and had it programmed. Read it again on the port that connection holds:
        // a second search would close that port under it and could ask the no-connection
        // question twice.
        return m_device.reOpen() && m_device.readConfiguration();
    }
    const CRaised connecting(m_connecting);
    switch (m_mode) {
    case EMode::Demo:
        startDemo();
        break;
    case EMode::Search:
        runResponsively([this] { m_device.searchAndConnect(); });
        break;
    case EMode::Port:
        runResponsively([this] { m_device.connect(m_portPath); });
        break;
    }
    return m_device.isConnected();
}

bool CConnectionProcedure::reconnect() {
    if (m_mode == EMode::Demo) {
        startDemo();
        return true;
    }
    const CSerialPort* port = m_device.serialPort();
    const std::string path =
        m_mode == EMode::Port ? m_portPath : (port != nullptr ? port->devicePath() : std::string());
    if (path.empty()) {
        return false;
    }
    const CRaised connecting(m_connecting);
    bool back = false;
    runResponsively([&] { back = m_device.connect(path); });
    return back;
}

bool CConnectionProcedure::forcedProgramming() {
    // A controller still in its loader after a forced run is not programmed again from inside
    // that run (the reading after it would start it): the run reports its failure instead.
    if (m_forcedProgramming) {
        return false;
    }
    m_forcedProgramming = true;
    try {
        const bool programmed = m_doc.programFirmware(true);
        m_forcedProgramming = false;
        return programmed;
    } catch (...) {
        m_forcedProgramming = false;
        throw;
    }
}

void CConnectionProcedure::offerDemo() {
    m_device.setDemo(false);
    m_device.setConnected(false);
    const EAnswer choice = appUi().noConnectionChoice(
        PL("Aplikacja nie może nawiązać połączenia ze sterownikiem na żadnym z portów COM "
           "komputera."),
        PL("Brak połączenia"), PL("Uruchom w trybie demo"), PL("Uruchom bez połączenia"));
    if (choice == EAnswer::Ok) {
        startDemo();
    }
}

void CConnectionProcedure::startDemo() {
    m_device.startDemo();
}

} // namespace torva
