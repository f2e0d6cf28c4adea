#pragma once

#include "config/saved_match.h"
#include "diag/connection_watch.h"
#include "diag/polling_control.h"
#include "lang/translation.h"
#include "ui/shell/page_catalogue.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class QSplitter;
class QStatusBar;

namespace torva {

class CMainMenu;
class COfflineCommands;
class CMSMCaptionBar;
class CMSMMenuBar;
class CReadingsView;
class CVeko2012Doc;
class CVeko2012View;

// The main window: own caption bar, menu bar, and a splitter with the readings view on top
// (a fifth of the height) and the main view with the configuration pages below. Its refresh
// timer (5001, 200 ms while polling) watches the link and refreshes the visible pages.
class CMainFrame : public QWidget, public IRefreshTimer {
    Q_OBJECT
public:
    // The commands without menu items that pages post to the window.
    enum class ECommand { Create, InitLang };

    CMainFrame(CVeko2012Doc& doc, const SPageCatalogue& catalogue, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Rebuilds the caption text for the connection state and shows it; the editing pages hear
    // of it when the state differs from the one they last heard of.
    void showConnectionState(bool connected);
    // After connecting: which saved file the controller's configuration equals, or since when
    // the newest backup differs (status bar).
    void showSavedMatch();
    // After a settings file was opened offline or closed again: polling, menu, the readings
    // view's live controls, caption and status bar follow, and the pages are built again.
    void onOfflineChanged();
    // The menu and the readings view's live controls as offline mode has them.
    void followOfflineState();
    // The File menu's offline commands (tests drive them too).
    COfflineCommands& offlineCommands() { return *m_offline; }
    // Every text of the window tree again: main view pages, readings view, menu, caption.
    void retranslate();
    // Runs a command later on the window's thread, after the current handler has returned.
    void postCommand(ECommand command);
    void runCommand(ECommand command);
    // The connection procedure the link-lost cycle and "Połącz" retry with (userAsked: the
    // menu command); true when a controller answered. Without one the cycle only shows the lost
    // state.
    void setReconnect(std::function<bool(bool userAsked)> reconnect) {
        m_reconnect = std::move(reconnect);
    }
    // "Połącz": looks for the controller now.
    void connectNow();
    const CConnectionWatch& connectionWatch() const { return m_watch; }

    // IRefreshTimer: timer 5001.
    void startRefreshTimer(int periodMs) override;
    void stopRefreshTimer() override;
    bool refreshTimerActive() const { return m_refreshTimer.isActive(); }
    // One tick of timer 5001 (the connection-lost cycle, then the page refresh).
    void onRefreshTimer();

    CMSMCaptionBar* captionBar() const { return m_captionBar; }
    CMSMMenuBar* menuBar() const { return m_menuBar; }
    CMainMenu* mainMenu() const { return m_menu; }
    CReadingsView* readingsView() const { return m_readingsView; }
    CVeko2012View* mainView() const { return m_mainView; }
    QSplitter* splitter() const { return m_splitter; }
    QStatusBar* statusBar() const { return m_statusBar; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Unsaved changes of an offline file are asked about first.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void layoutPanes();
    void updateFonts();
    void openDocumentation();
    // Runs a menu handler; any exception it raises is shown, and polling and the refresh
    // timer it stopped run again.
    void runMenuHandler(const std::function<void()>& handler);
    // Runs one of the document's menu commands and names the backup it wrote.
    void runDocumentCommand(int commandId);
    void showBackupPath();
    void onConnectionChange(bool connected);
    // A controller answered again and polling runs: the same one keeps its pages; any other (or
    // another configuration) gets pages built anew from the record just read.
    void onReconnected(EControllerChange change);
    // The status-bar line: the controller now connected, then what saved file it equals.
    void showConnectedController();

    CVeko2012Doc& m_doc;
    CMSMCaptionBar* m_captionBar;
    CMSMMenuBar* m_menuBar;
    CMainMenu* m_menu = nullptr;
    QSplitter* m_splitter;
    CReadingsView* m_readingsView;
    CVeko2012View* m_mainView;
    QStatusBar* m_statusBar;
    // The backup file the status bar names (kept to name it again in another language).
    std::string m_shownBackupPath;
    SSavedMatch m_savedMatch;
    std::string m_savedMatchText;   // shown in the status bar; empty when something else is
    bool m_namesController = false; // the status bar names the controller before the match
    std::function<bool(bool userAsked)> m_reconnect;
    // The connection state the main view's pages were last told of (they learn the state they
    // are built in from createPages).
    std::optional<bool> m_pagesConnected;
    QTimer m_refreshTimer;
    CConnectionWatch m_watch;
    std::unique_ptr<COfflineCommands> m_offline;
    CLanguageSubscription m_languageFollow;
};

} // namespace torva
