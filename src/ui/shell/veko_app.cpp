#include "ui/shell/veko_app.h"

#include "diag/lpg_thread_manager.h"
#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/user_interface.h"
#include "sim/simulator.h"
#include "ui/controls/app_visual_manager.h"
#include "ui/controls/wheel_guard.h"
#include "ui/shell/connection_procedure.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/offline_commands.h"
#include "ui/shell/page_catalogue.h"
#include "ui/shell/qt_user_interface.h"
#include "ui/shell/splash_dlg.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace torva {

namespace {
// Longest wait at exit for the polling thread to leave its loop: one exchange's time-out.
constexpr int kExitWaitMs = 1000;
} // namespace

CVeko2012App::CVeko2012App(SAppOptions options) : m_options(std::move(options)) {}

CVeko2012App::~CVeko2012App() {
    shutdown();
    m_frame.reset();
    m_connection.reset();
    m_doc.reset();
    if (m_simulator) {
        m_simulator->stop();
    }
    setAppUi(nullptr);
}

bool CVeko2012App::start() {
    m_ui = std::make_unique<CQtUserInterface>();
    setAppUi(m_ui.get());
    CMSMVisualManager::install(std::make_unique<CAppVisualManager>());
    CWheelGuard::install();
    if (m_options.simulate && !startSimulator()) {
        return false;
    }
    if (!m_options.port.empty()) {
        m_portPath = m_options.port;
    }

    m_doc = std::make_unique<CVeko2012Doc>();
    const auto mode = m_options.demo        ? CConnectionProcedure::EMode::Demo
                      : !m_portPath.empty() ? CConnectionProcedure::EMode::Port
                                            : CConnectionProcedure::EMode::Search;
    m_connection = std::make_unique<CConnectionProcedure>(*m_doc, mode, m_portPath);

    CSplashDlg splash;
    splash.showCentred();
    // The frame protocol's random words.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    m_doc->buildErrorDecoders();
    if (!m_options.offlineFile.empty()) {
        startOffline();
    } else {
        m_connection->connectAtStartUp();
    }

    m_frame = std::make_unique<CMainFrame>(*m_doc, pageCatalogue());
    m_frame->setReconnect([this](bool userAsked) { return m_connection->reconnect(userAsked); });
    m_ui->setOwner(m_frame.get());
    m_frame->runCommand(CMainFrame::ECommand::Create);
    splash.close();

    initialUpdate();
    return true;
}

bool CVeko2012App::startSimulator() {
    try {
        m_simulator = std::make_unique<sim::CSimulator>();
        m_simulator->start();
        m_portPath = m_simulator->devicePath();
        return true;
    } catch (const std::exception& error) {
        m_simulator.reset();
        appUi().message(std::string("torva-sim: ") + error.what(), "TORVA", EIcon::Error);
        return false;
    }
}

void CVeko2012App::startOffline() {
    const std::string refused = m_doc->openOffline(m_options.offlineFile);
    if (refused.empty()) {
        return;
    }
    appUi().message(translate(kOfflineOpenRefused) + "\n" + refused, "TORVA", EIcon::Error);
    m_connection->connectAtStartUp();
}

void CVeko2012App::initialUpdate() {
    CLPGDevice& device = m_doc->device();
    m_frame->followOfflineState();
    // While a file stands in for the controller there is nothing to poll and nothing missing.
    if (device.isConnected() && !device.isOffline()) {
        // No recording at start-up.
        m_doc->polling().startPolling(std::string());
    } else if (!device.isConnected()) {
        appUi().message(PL("BRAK POŁĄCZENIA"), "TORVA", EIcon::None);
        // The window keeps looking, so a controller switched on later is found without a
        // restart.
        m_doc->polling().awaitReconnection();
    }
    m_frame->showConnectionState(device.isConnected());
    m_frame->showSavedMatch();
    m_frame->retranslate();
    m_frame->update();
}

void CVeko2012App::show() {
    if (m_frame) {
        m_frame->showMaximized();
    }
}

void CVeko2012App::shutdown() {
    if (!m_doc) {
        return;
    }
    // Clear the flag and give the thread one cycle to leave; a thread stuck in an exchange
    // must not hold up the exit, so the process then ends at once.
    m_doc->polling().pollingFlag().store(false);
    if (m_frame) {
        m_frame->stopRefreshTimer();
    }
    if (!lpgThreadManager().threadManager().waitAll(kExitWaitMs)) {
        endProcessNow();
    }
}

} // namespace torva
