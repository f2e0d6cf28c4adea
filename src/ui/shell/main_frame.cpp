#include "ui/shell/main_frame.h"

#include "config/saved_match.h"
#include "document/document_commands.h"
#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "lang/user_guide.h"
#include "platform/user_interface.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/msm_menu_bar.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/common/handler_error.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/shell/about_dlg.h"
#include "ui/shell/backups_dlg.h"
#include "ui/shell/caption_text.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/offline_commands.h"
#include "ui/shell/program_icon.h"
#include "ui/shell/readings_view.h"
#include "ui/shell/user_guide_opener.h"
#include "ui/shell/window_rules.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <filesystem>

namespace torva {

namespace {
constexpr int kCommandRetryMs = 50;
} // namespace

CMainFrame::CMainFrame(CVeko2012Doc& doc, const SPageCatalogue& catalogue, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_doc(doc),
      m_captionBar(new CMSMCaptionBar(this)), m_menuBar(new CMSMMenuBar(this)),
      m_splitter(new QSplitter(Qt::Vertical, this)),
      m_readingsView(new CReadingsView(doc, catalogue, m_splitter)),
      m_mainView(new CVeko2012View(doc, catalogue.mainPages, m_splitter)),
      m_statusBar(new QStatusBar(this)),
      m_watch(
          doc.device(),
          {.showConnectionState = [this](bool connected) { onConnectionChange(connected); },
           .reconnect = [this](bool userAsked) { return m_reconnect && m_reconnect(userAsked); },
           .restartPolling = [this] { m_doc.polling().restartPolling(); },
           .stopPolling = [this] { m_doc.polling().stopPolling(); },
           .reconnected = [this](EControllerChange change) { onReconnected(change); },
           .refreshPages =
               [this] {
                   m_mainView->refresh();
                   m_readingsView->refresh();
               }}) {
    m_offline = std::make_unique<COfflineCommands>(
        doc, this,
        COfflineCommands::SHooks{.linkChanged = [this] { onOfflineChanged(); },
                                 .saved =
                                     [this] {
                                         showConnectionState(m_doc.device().isConnected());
                                         showBackupPath();
                                     }});
    // Every edit of an offline file shows at once in the caption's unsaved-changes mark. Some
    // edits run on a helper thread (runResponsively); the caption is changed on this one.
    doc.device().setOfflineEditListener([this] {
        QMetaObject::invokeMethod(
            this, [this] { showConnectionState(true); }, Qt::AutoConnection);
    });
    setWindowIcon(programIcon());
    setWindowTitle(QStringLiteral("TORVA"));
    m_captionBar->setCaptionText(QStringLiteral("TORVA"));
    m_captionBar->setIcon(programIcon());
    buildMenu();

    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_readingsView);
    m_splitter->addWidget(m_mainView);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The frame's own minimum-size rule decides, not what the panes would like.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(m_captionBar);
    layout->addWidget(m_menuBar);
    layout->addWidget(m_splitter, 1);
    // Without a system frame the status bar's corner grip is the way to resize the window.
    m_statusBar->setSizeGripEnabled(true);
    layout->addWidget(m_statusBar);

    m_refreshTimer.setInterval(CPollingControl::kRefreshPeriodMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CMainFrame::onRefreshTimer);
    doc.polling().setRefreshTimer(this);
    // A command that changed the live record: pages are built again from it once the command
    // has returned (the page list may change with a new firmware version).
    doc.setPageRefresh([this] {
        postCommand(ECommand::Create);
        postCommand(ECommand::InitLang);
    });
    m_languageFollow = subscribeLanguageChange([this](int) { retranslate(); });
    setMinimumSize(kMinimumFrameSize);
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(normalFrameSize(screen != nullptr ? screen->availableSize() : kMinimumFrameSize));
    updateFonts();
}

CMainFrame::~CMainFrame() {
    m_doc.device().setOfflineEditListener(nullptr);
    m_doc.polling().setRefreshTimer(nullptr);
    m_doc.setPageRefresh(nullptr);
}

void CMainFrame::buildMenu() {
    const auto guarded = [this](std::function<void()> handler) {
        return [this, handler = std::move(handler)] { runMenuHandler(handler); };
    };
    CMainMenu::SHandlers handlers;
    handlers.connect = guarded([this] { connectNow(); });
    handlers.openOffline = guarded([this] { m_offline->openChosen(); });
    handlers.save = guarded([this] { m_offline->save(); });
    handlers.saveAs = guarded([this] { m_offline->saveAs(); });
    handlers.writeToController = guarded([this] { m_offline->writeToController(); });
    handlers.closeFile = guarded([this] { m_offline->closeFile(); });
    handlers.loadSettingsFile =
        guarded([this] { runDocumentCommand(doc_command::kLoadSettingsFile); });
    handlers.saveSettingsFile =
        guarded([this] { runDocumentCommand(doc_command::kSaveSettingsFile); });
    handlers.backups = guarded([this] {
        CBackupsDlg backups(m_doc, this);
        backups.exec();
        showBackupPath();
    });
    handlers.restoreFactorySettings =
        guarded([this] { runDocumentCommand(doc_command::kRestoreFactorySettings); });
    handlers.updateFirmware =
        guarded([this] { runDocumentCommand(doc_command::kProgramFirmware); });
    handlers.exit = [this] { close(); };
    handlers.openDocumentation = guarded([this] { openDocumentation(); });
    handlers.about = guarded([this] {
        CAboutDlg about(this);
        about.exec();
    });
    handlers.selectLanguage = [this](int index) {
        runMenuHandler([index] { selectLanguage(index); });
    };
    m_menu = new CMainMenu(*m_menuBar, std::move(handlers));
}

void CMainFrame::runMenuHandler(const std::function<void()>& handler) {
    // A retry in the background has the line: the command comes once it is over (it cannot
    // wait here, inside the retry's own event loop).
    if (m_watch.attempting()) {
        QTimer::singleShot(kCommandRetryMs, this, [this, handler] { runMenuHandler(handler); });
        return;
    }
    const bool wasPolling = m_doc.polling().isPolling();
    const bool timerWasActive = refreshTimerActive();
    try {
        handler();
    } catch (...) {
        // The document reports its own failures; a fault of the serial line, or any other
        // exception (a library's, a failed allocation), reaches here and must not end the
        // program.
        appUi().message(handlerErrorText(std::current_exception()), "TORVA", EIcon::Error);
        // Firmware programming stops polling first; without it the link-lost cycle would
        // never notice a controller that is gone.
        if (wasPolling && !m_doc.polling().isPolling()) {
            if (m_doc.device().isConnected()) {
                m_doc.polling().restartPolling();
            } else {
                m_doc.polling().awaitReconnection();
            }
        }
        if (timerWasActive && !refreshTimerActive()) {
            startRefreshTimer(CPollingControl::kRefreshPeriodMs);
        }
    }
}

void CMainFrame::runDocumentCommand(int commandId) {
    // A backup written before the command failed is named all the same.
    const auto nameBackup = [this, commandId] {
        if (commandId != doc_command::kSaveSettingsFile) {
            showBackupPath();
        }
    };
    try {
        m_doc.onCommand(commandId);
    } catch (...) {
        nameBackup();
        throw;
    }
    nameBackup();
}

void CMainFrame::showBackupPath() {
    m_savedMatchText.clear();
    m_namesController = false;
    m_shownBackupPath = m_doc.lastBackupPath();
    if (m_shownBackupPath.empty()) {
        m_statusBar->clearMessage();
        return;
    }
    m_statusBar->showMessage(QString::fromStdString(translate(PL("Kopia zapasowa ustawień:")) +
                                                    " " + m_shownBackupPath));
}

void CMainFrame::onConnectionChange(bool connected) {
    showConnectionState(connected);
    if (connected)
        showSavedMatch();
}

void CMainFrame::connectNow() {
    // With a settings file open, connecting means leaving it: unsaved changes are asked about.
    if (m_doc.device().isOffline()) {
        if (!m_offline->closeFile())
            return;
    } else {
        m_watch.reconnectNow();
    }
    if (!m_doc.device().isConnected())
        appUi().message(page_message::kNoConnection, page_message::kCaption, EIcon::None);
}

void CMainFrame::onReconnected(EControllerChange change) {
    if (change != EControllerChange::None) {
        // The pages still show the controller that went: they stay disabled until the new ones,
        // built from the record just read, replace them after this tick.
        m_pagesConnected = true;
        m_doc.refreshPages();
    }
    showConnectionState(true);
    showSavedMatch();
    if (change != EControllerChange::None)
        showConnectedController();
}

void CMainFrame::showConnectedController() {
    const SDevInfo info = m_doc.device().configCopy().m_devInfo;
    std::string text = translate(PL("Podłączono sterownik:")) + " " + info.m_modelName;
    if (!info.m_serial.empty())
        text += "  " + info.m_serial;
    text += "  " + firmwareVersionText(info.m_version);
    if (!m_savedMatchText.empty())
        text += "     " + m_savedMatchText;
    m_namesController = true;
    m_statusBar->showMessage(QString::fromStdString(text));
}

void CMainFrame::showSavedMatch() {
    m_shownBackupPath.clear();
    m_savedMatchText.clear();
    m_namesController = false;
    CLPGDevice& device = m_doc.device();
    if (!device.isConnected() || device.isDemo() || device.isOffline())
        return;
    m_savedMatch = findSavedMatch(device.config());
    m_savedMatchText = savedMatchText(m_savedMatch);
    if (m_savedMatchText.empty())
        m_statusBar->clearMessage();
    else
        m_statusBar->showMessage(QString::fromStdString(m_savedMatchText));
}

void CMainFrame::openDocumentation() {
    openUserGuide(userGuideFolder(), currentLanguage());
}

void CMainFrame::showConnectionState(bool connected) {
    CLPGDevice& device = m_doc.device();
    const std::string& file = m_doc.offlinePath();
    const QString text = QString::fromStdString(
        file.empty()
            ? captionText(device.config(), connected, device.isDemo())
            : offlineCaptionText(device.config(), std::filesystem::path(file).filename().string(),
                                 m_doc.offlineModified()));
    m_captionBar->setCaptionText(text);
    setWindowTitle(text);
    if (m_pagesConnected != connected) {
        m_pagesConnected = connected;
        m_mainView->connectionChanged(connected);
    }
}

void CMainFrame::onOfflineChanged() {
    CLPGDevice& device = m_doc.device();
    if (device.isConnected() && !device.isOffline() && !m_doc.polling().isPolling())
        m_doc.polling().startPolling(std::string());
    followOfflineState();
    m_shownBackupPath.clear();
    m_savedMatchText.clear();
    m_statusBar->clearMessage();
    showConnectionState(device.isConnected());
    if (!device.isOffline())
        showSavedMatch();
    // The page list and every version gate follow the file's controller, or the real one.
    postCommand(ECommand::Create);
    postCommand(ECommand::InitLang);
}

void CMainFrame::followOfflineState() {
    m_menu->setOffline(m_doc.device().isOffline());
    applyLiveOnly(m_readingsView, m_doc.device());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_offline->mayLeaveFile()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CMainFrame::retranslate() {
    m_mainView->retranslate();
    m_readingsView->retranslate();
    m_menu->retranslate();
    // The live controls' tool tips speak the new language.
    applyLiveOnly(m_readingsView, m_doc.device());
    applyLiveOnly(m_mainView, m_doc.device());
    if (!m_shownBackupPath.empty()) {
        showBackupPath();
    } else {
        if (!m_savedMatchText.empty()) {
            m_savedMatchText = savedMatchText(m_savedMatch);
            m_statusBar->showMessage(QString::fromStdString(m_savedMatchText));
        }
        if (m_namesController)
            showConnectedController();
    }
    showConnectionState(m_doc.device().isConnected());
    update();
}

void CMainFrame::postCommand(ECommand command) {
    QMetaObject::invokeMethod(
        this, [this, command] { runCommand(command); }, Qt::QueuedConnection);
}

void CMainFrame::runCommand(ECommand command) {
    // A page waiting for its controller operation must not be deleted under it.
    if (responsiveCallRunning()) {
        QTimer::singleShot(kCommandRetryMs, this, [this, command] { runCommand(command); });
        return;
    }
    switch (command) {
    case ECommand::Create:
        m_mainView->createPages();
        break;
    case ECommand::InitLang:
        retranslate();
        break;
    }
}

void CMainFrame::startRefreshTimer(int periodMs) {
    m_refreshTimer.start(periodMs);
}

void CMainFrame::stopRefreshTimer() {
    m_refreshTimer.stop();
}

void CMainFrame::onRefreshTimer() {
    // A controller operation in progress has the link; this tick's turn comes again.
    if (responsiveCallRunning()) {
        return;
    }
    m_watch.tick();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    const QSize allowed = enforceMinimumFrameSize(event->size());
    if (allowed != event->size() && !isMaximized() && !isFullScreen()) {
        resize(allowed);
        return;
    }
    QWidget::resizeEvent(event);
    updateFonts();
    layoutPanes();
}

void CMainFrame::layoutPanes() {
    const int total = m_splitter->height();
    const int top = topPaneHeight(height());
    m_splitter->setSizes({top, std::max(0, total - top - m_splitter->handleWidth())});
}

void CMainFrame::updateFonts() {
    const int pixels = captionFontPixelSize(size());
    QFont caption = font();
    caption.setWeight(QFont::Bold);
    caption.setPixelSize(pixels);
    m_captionBar->setCaptionFont(caption);
    QFont menu = font();
    menu.setWeight(QFont::Normal);
    menu.setPixelSize(pixels);
    m_menuBar->setFont(menu);
    for (QAction* action : m_menuBar->actions()) {
        if (QWidget* menuWidget = action->menu()) {
            menuWidget->setFont(menu);
        }
    }
}

} // namespace torva
