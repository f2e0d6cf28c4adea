#pragma once

#include "ui/shell/app_options.h"

#include <memory>

namespace torva::sim {
class CSimulator;
}

namespace torva {

class CConnectionProcedure;
class CMainFrame;
class CQtUserInterface;
class CVeko2012Doc;

// The application: builds the document, connects, builds the window and starts polling, in
// that order, and takes it all down again. Needs a QApplication; the language files and the
// thread manager come first (see main).
class CVeko2012App {
public:
    explicit CVeko2012App(SAppOptions options);
    ~CVeko2012App();
    CVeko2012App(const CVeko2012App&) = delete;
    CVeko2012App& operator=(const CVeko2012App&) = delete;

    // Everything up to a complete, not yet shown window. False when the simulator could not be
    // started (the reason went to the user).
    bool start();
    // Shows the window maximised.
    void show();
    // Ends polling without waiting on a thread that is stuck on the serial line: such a
    // thread ends with the process.
    void shutdown();

    CVeko2012Doc& doc() { return *m_doc; }
    CMainFrame& frame() { return *m_frame; }
    // The simulator started by --simulate, or nullptr.
    sim::CSimulator* simulator() { return m_simulator.get(); }

private:
    bool startSimulator();
    // --offline: the file in place of the controller; a refused file is named and the usual
    // connection follows.
    void startOffline();
    void initialUpdate();

    SAppOptions m_options;
    std::string m_portPath;
    std::unique_ptr<CQtUserInterface> m_ui;
    std::unique_ptr<sim::CSimulator> m_simulator;
    std::unique_ptr<CVeko2012Doc> m_doc;
    std::unique_ptr<CConnectionProcedure> m_connection;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace torva
