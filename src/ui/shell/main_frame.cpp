#include "ui/shell/main_frame.h"

#include "platform/error.h"
#include "platform/folders.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/msm_menu_bar.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/shell/about_dlg.h"
#include "ui/shell/caption_text.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/program_icon.h"
#include "ui/shell/readings_view.h"
#include "ui/shell/veko_doc.h"
#include "ui/shell/window_rules.h"

#include <QDesktopServices>
#include <QDir>
#include <QResizeEvent>
#include <QSizeGrip>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

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
      m_watch(doc.device(),
              {.showConnectionState = [this](bool connected) { showConnectionState(connected); },
               .reconnect =
                   [this] {
                       bool back = false;
                       runResponsively([&] { back = m_doc.reconnect(); });
                       return back;
                   },
               .restartPolling = [this] { m_doc.polling().restartPolling(); },
               .refreshPages =
                   [this] {
                       m_mainView->refresh();
                       m_readingsView->refresh();
                   }}) {
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
    // Without a system frame the corner grip is the way to resize the window.
    auto* grip = new QSizeGrip(this);
    layout->addWidget(grip, 0, Qt::AlignBottom | Qt::AlignRight);

    m_refreshTimer.setInterval(CPollingControl::kRefreshPeriodMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CMainFrame::onRefreshTimer);
    doc.polling().setRefreshTimer(this);
    m_languageFollow = subscribeLanguageChange([this](int) { retranslate(); });
    updateFonts();
}

CMainFrame::~CMainFrame() {
    m_doc.polling().setRefreshTimer(nullptr);
}

void CMainFrame::buildMenu() {
    const auto& commands = m_doc.commands();
    CMainMenu::SHandlers handlers;
    const auto wire = [this](const std::function<void()>& command, bool rebuild) {
        return command ? std::function<void()>(
                             [this, command, rebuild] { runDocumentCommand(command, rebuild); })
                       : std::function<void()>();
    };
    handlers.loadSettingsFile = wire(commands.loadSettingsFile, true);
    handlers.saveSettingsFile = wire(commands.saveSettingsFile, false);
    handlers.restoreFactorySettings = wire(commands.restoreFactorySettings, true);
    handlers.updateFirmware = wire(commands.programFirmware, true);
    handlers.exit = [this] { close(); };
    handlers.openDocumentation = [this] { openDocumentation(); };
    handlers.about = [this] {
        CAboutDlg about(this);
        about.exec();
    };
    handlers.selectLanguage = [](int index) { selectLanguage(index); };
    m_menu = new CMainMenu(*m_menuBar, std::move(handlers));
}

void CMainFrame::runDocumentCommand(const std::function<void()>& command, bool rebuildPages) {
    try {
        command();
    } catch (const IError&) {
        // The command has reported its failure through its own messages.
    }
    if (rebuildPages) {
        runCommand(ECommand::Create);
        runCommand(ECommand::InitLang);
    }
}

void CMainFrame::openDocumentation() {
    const QString folder = QString::fromStdString(programDataFolder("Doc"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(folder).absolutePath()));
}

void CMainFrame::showConnectionState(bool connected) {
    CLPGDevice& device = m_doc.device();
    const QString text =
        QString::fromStdString(captionText(device.config(), connected, device.isDemo()));
    m_captionBar->setCaptionText(text);
    setWindowTitle(text);
}

void CMainFrame::retranslate() {
    m_mainView->retranslate();
    m_readingsView->retranslate();
    m_menu->retranslate();
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
