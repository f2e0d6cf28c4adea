#pragma once

#include <string>

namespace torva {

class CLPGDevice;
class CVeko2012Doc;

// How the application reaches the controller: demo mode, one given port (--port, --simulate)
// or the search over every present port. It runs at start-up, after firmware programming (the
// document's search and connect) and while the link is lost (the main window's retry). Blocking
// work runs responsively on the window's thread.
class CConnectionProcedure {
public:
    enum class EMode { Demo, Port, Search };

    // Binds itself to the document: its search after programming and identification's forced
    // programming. portPath is the port of EMode::Port.
    CConnectionProcedure(CVeko2012Doc& doc, EMode mode, std::string portPath = {});
    ~CConnectionProcedure();
    CConnectionProcedure(const CConnectionProcedure&) = delete;
    CConnectionProcedure& operator=(const CConnectionProcedure&) = delete;

    // Demo mode; or the given port, with the reason of a failure shown and the no-connection
    // choice offered; or the search, which offers that choice itself. Leaves the device's flags
    // set.
    void connectAtStartUp();
    // After firmware programming; true when a controller (or demo mode) is connected.
    bool connectAfterProgramming();
    // While no controller is connected: the given port, or the search (the last good port
    // first), with no question to the user. The periodic retry (every 2.2 s) runs in the
    // background, so the user can go on working; the user's own "connect" (userAsked) waits
    // under the wait cursor. True when a controller answered.
    bool reconnect(bool userAsked);

private:
    bool forcedProgramming();
    void offerDemo();
    void startDemo();

    CVeko2012Doc& m_doc;
    CLPGDevice& m_device;
    EMode m_mode;
    std::string m_portPath;
    // Connections in progress. Forced programming runs inside one (identification found a
    // controller without an application) and then looks for the controller again.
    int m_connecting = 0;
    bool m_forcedProgramming = false;
};

} // namespace torva
