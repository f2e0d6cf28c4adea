// The application started in demo mode, as the program starts it, on the offscreen platform.
#include "diag/diag_sample_values.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "sim/simulator.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/dialog_scaling.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/multi_page_button.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/readings_view.h"
#include "ui/shell/veko_app.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QSplitter>

#include <gtest/gtest.h>

namespace torva {
namespace {

class DemoApplication : public ::testing::Test {
protected:
    DemoApplication() : m_app(demoOptions()) { selectLanguage(kPolishLanguage); }
    ~DemoApplication() override { selectLanguage(kPolishLanguage); }

    QString caption() { return m_app.frame().captionBar()->captionText(); }

    // Processes events until done() holds, at most timeoutMs.
    template <typename F> bool waitFor(F done, int timeoutMs = 5000) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < timeoutMs) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return done();
    }

    CVeko2012App m_app;
};

TEST_F(DemoApplication, StartsConnectedWithDemoIdentityAndPolling) {
    ASSERT_TRUE(m_app.start());
    EXPECT_TRUE(caption().startsWith("TORVA  KT2  v 1.44   firmware: v 1.47     POŁĄCZONY"))
        << caption().toStdString();
    EXPECT_TRUE(caption().endsWith(" DEMO"));
    EXPECT_TRUE(m_app.doc().polling().isPolling());
    EXPECT_TRUE(m_app.frame().refreshTimerActive());

    // Only pages that exist are shown: the readings page on top, and the configuration
    // pages below as far as this build has them.
    CMultiPageCtrl* top = m_app.frame().readingsView()->pageCtrl();
    ASSERT_GE(top->getPageCount(), 1);
    EXPECT_EQ(top->getTitle(0), "Odczyty");

    // Timer 5001 brings the demo samples to the readings gauges.
    auto* readings = dynamic_cast<CReadingsDlg*>(top->getPage(0));
    ASSERT_NE(readings, nullptr);
    EXPECT_TRUE(waitFor([&] { return readings->gauge(0)->value() > 0; }));
    EXPECT_GT(readings->gauge(0)->value(), 700); // the demo car's engine runs
    EXPECT_GT(readings->gauge(10)->value(), 0);  // and warms its exhaust
}

TEST_F(DemoApplication, OpensOnACarWithItsMapPages) {
    ASSERT_TRUE(m_app.start());
    CMultiPageCtrl* pages = m_app.frame().mainView()->pageCtrl();
    std::vector<QString> titles;
    for (int i = 0; i < pages->getPageCount(); ++i)
        titles.push_back(pages->getTitle(i));
    EXPECT_EQ(titles,
              (std::vector<QString>{"Ustawienia", "Mapa Map Sensor", "Mapa MAF", "Mapa TPS 1",
                                    "Mapa TPS 2", "Zabezpieczenia", "Dane ECU"}));
}

TEST_F(DemoApplication, KeepsItsMinimumSizeAndPaneShares) {
    ASSERT_TRUE(m_app.start());
    CMainFrame& frame = m_app.frame();
    // The window system keeps to the minimum only when the window itself carries it.
    EXPECT_EQ(frame.minimumSize(), QSize(800, 530));
    frame.show();
    EXPECT_GE(frame.height(), 530) << "a sensible size where maximizing is not honoured";
    frame.resize(700, 400);
    QApplication::processEvents();
    EXPECT_EQ(frame.size(), QSize(800, 530));

    frame.resize(1280, 800);
    QApplication::processEvents();
    EXPECT_EQ(frame.size(), QSize(1280, 800));
    EXPECT_EQ(frame.splitter()->sizes().at(0), 160);
    EXPECT_EQ(frame.captionBar()->captionFont().pixelSize(), 16);
}

// At the minimum size with the charts in the upper pane, the lower pane has the least room:
// every page there keeps its text at 8 pt or more, and its tab and its grids' header cells hold
// their text.
TEST_F(DemoApplication, EveryLowerPageStaysReadableAtTheMinimumSizeWithTheCharts) {
    ASSERT_TRUE(m_app.start());
    CMainFrame& frame = m_app.frame();
    // A 24-volt controller with every emulator on: the most tabs, the calibration pages too.
    CDeviceConfig& config = m_app.doc().device().config();
    config.m_devInfo.m_deviceID = 25;
    config.m_base.m_emuEnable = {1, 1, 1, 1};
    config.m_serviceSetup.m_advancedFlags2 |= 0x10;
    config.m_serviceSetup.m_advancedFlags2 &= ~0x80;
    config.m_serviceSetup.m_tpsDigitEmuEnable = 1;
    frame.mainView()->createPages();
    frame.show();
    frame.resize(800, 530);
    m_app.frame().readingsView()->pageCtrl()->activatePage(1);
    CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    const int readable = readableFontPixelSize(frame);
    int grids = 0;
    for (int index = 0; index < pages->getPageCount(); ++index) {
        pages->activatePage(index);
        QApplication::processEvents();
        QWidget* page = pages->getPage(index);
        // The active tab's bold title, whole in its tab.
        const QWidget* tab = pages->getButton(index)->widget();
        QFont bold = tab->font();
        bold.setBold(true);
        EXPECT_GE(tab->width(), QFontMetrics(bold).horizontalAdvance(pages->getTitle(index)))
            << pages->getTitle(index).toStdString();
        for (const QWidget* widget : page->findChildren<QWidget*>()) {
            if (widget->isVisible()) {
                EXPECT_GE(QFontInfo(widget->font()).pixelSize(), readable)
                    << pages->getTitle(index).toStdString() << ": "
                    << widget->metaObject()->className();
            }
        }
        for (const CCellArray* grid : page->findChildren<CCellArray*>()) {
            ++grids;
            QFont smallest = grid->font();
            smallest.setPixelSize(readable);
            const QFontMetrics metrics(smallest);
            for (int column = 0; column < grid->columns(); ++column) {
                EXPECT_GE(grid->cellRect(-1, column).width(),
                          metrics.horizontalAdvance(grid->columnHeader(column)))
                    << pages->getTitle(index).toStdString() << ": "
                    << grid->columnHeader(column).toStdString();
            }
        }
    }
    EXPECT_GT(grids, 0);
}

TEST_F(DemoApplication, LanguageSwitchRetitlesPagesMenuAndCaption) {
    ASSERT_TRUE(m_app.start());
    CMainMenu* menu = m_app.frame().mainMenu();
    EXPECT_TRUE(menu->languageAction(kPolishLanguage)->isChecked());
    EXPECT_FALSE(menu->languageAction(kPolishLanguage)->isEnabled());
    if (!isLanguageAvailable(kEnglishLanguage)) {
        GTEST_SKIP() << "no English language file beside the test";
    }
    ASSERT_TRUE(menu->languageAction(kEnglishLanguage)->isEnabled());

    menu->languageAction(kEnglishLanguage)->trigger();
    EXPECT_EQ(currentLanguage(), kEnglishLanguage);
    EXPECT_TRUE(caption().contains("CONNECTED DEMO")) << caption().toStdString();
    EXPECT_EQ(m_app.frame().readingsView()->pageCtrl()->getTitle(0), "Readings");
    EXPECT_EQ(menu->findAction("Plik")->text(), "File");
    EXPECT_TRUE(menu->languageAction(kEnglishLanguage)->isChecked());
    EXPECT_TRUE(menu->languageAction(kPolishLanguage)->isEnabled());
    // Every other language with a file can be chosen; one without a file cannot.
    for (const SLanguage& language : languageMenu()) {
        EXPECT_EQ(menu->languageAction(language.index)->isEnabled(),
                  language.index != kEnglishLanguage && isLanguageAvailable(language.index))
            << language.menuText;
    }

    menu->languageAction(kPolishLanguage)->trigger();
    EXPECT_TRUE(caption().contains("POŁĄCZONY DEMO"));
    EXPECT_EQ(m_app.frame().readingsView()->pageCtrl()->getTitle(0), "Odczyty");
}

} // namespace
} // namespace torva

namespace torva {
namespace {

// --simulate: the program starts the simulator on a pseudo-terminal and talks the real
// protocol to it, from identification to live samples.
TEST(SimulatedApplication, ConnectsReadsTheConfigurationAndPolls) {
    selectLanguage(kPolishLanguage);
    SAppOptions options;
    options.simulate = true;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    ASSERT_NE(app.simulator(), nullptr);
    CLPGDevice& device = app.doc().device();
    EXPECT_TRUE(device.isConnected());
    EXPECT_FALSE(device.isDemo());
    const QString caption = app.frame().captionBar()->captionText();
    EXPECT_TRUE(caption.endsWith("POŁĄCZONY")) << caption.toStdString();
    EXPECT_GT(app.simulator()->transcript().countRequests(2, 204), 0u); // identification

    auto* readings =
        dynamic_cast<CReadingsDlg*>(app.frame().readingsView()->pageCtrl()->getPage(0));
    ASSERT_NE(readings, nullptr);
    QElapsedTimer timer;
    timer.start();
    while (readings->gauge(0)->value() == 0 && timer.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_GT(readings->gauge(0)->value(), 0);
}

} // namespace
} // namespace torva
