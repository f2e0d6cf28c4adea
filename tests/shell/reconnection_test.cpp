// The window and the controller on the line, against the simulator behind a link path that
// disappears and comes back as the cable is pulled and plugged in again: another controller
// gets pages of its own, the same one keeps its pages and undo, a late controller is found, a
// recording goes on through lost links, and a polling start that fails keeps the retries going.
#include "modal_answerer.h"

#include "config/block_codec.h"
#include "config/block_table.h"
#include "config/data_folders.h"
#include "config/environment_guard.h"
#include "config/process_state_guard.h"
#include "config/settings_io.h"
#include "diag/polling_control.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/identification_notice.h"
#include "link/lpg_device.h"
#include "maps/map_array.h"
#include "platform/sthread.h"
#include "platform/thread_manager.h"
#include "sim/simulator.h"
#include "support/temp_folder.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/pages/calibration/calibration_page.h"
#include "ui/pages/charts/osc_dlg.h"
#include "ui/pages/maps/map_grid.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/shell/connection_procedure.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/page_catalogue.h"
#include "ui/shell/readings_view.h"
#include "ui/shell/veko_app.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace torva {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Processes the window's events until done() holds, at most timeoutMs; each round also runs
// check, for what must hold all the way.
bool waitFor(const std::function<bool()>& done, int timeoutMs,
             const std::function<void()>& check = {}) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (check)
            check();
    }
    return done();
}

// Time map 1 as the simulated controller holds it: one byte per cell, tenths of a millisecond.
std::uint8_t heldCell(sim::CSimulator& sim, int row, int column) {
    return sim.blockImage(blockInfo(EBlock::TimeMap1).code).at(row * kMapColumns + column);
}

std::size_t linesIn(const std::string& path) {
    std::ifstream in(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

std::string firstLines(const std::string& path, std::size_t count) {
    std::ifstream in(path);
    std::string text;
    std::string line;
    for (std::size_t i = 0; i < count && std::getline(in, line); ++i)
        text += line + "\n";
    return text;
}

class Reconnection : public ::testing::Test {
protected:
    Reconnection() {
        selectLanguage(kPolishLanguage);
        resetUnknownModelNotice();
        static int made = 0;
        const std::string stem =
            "ttyTORVA-reconnect-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
        m_link = (std::filesystem::temp_directory_path() / stem).string();
        m_recording = m_link + ".oscd";
    }
    ~Reconnection() override {
        std::filesystem::remove(m_recording);
        resetUnknownModelNotice();
    }

    // A controller on the link whose first injection map has a page of its own.
    static sim::ControllerSettings controller(std::uint8_t model, const std::string& identifier,
                                              std::uint16_t version = 0x012F) {
        sim::ControllerSettings settings;
        settings.identity.modelCode = model;
        settings.identity.identifier = identifier;
        settings.identity.version = version;
        return settings;
    }
    static void showMapPageOne(sim::CSimulator& sim) {
        sim.withController([](sim::CControllerModel& model) {
            Bytes base = model.blocks().image(blockInfo(EBlock::Base).code);
            base[18] = 1; // emulator 1 on
            model.blocks().store(blockInfo(EBlock::Base).code, base);
        });
    }
    void startSim(const sim::ControllerSettings& settings) {
        sim::SimConfig config;
        config.controller = settings;
        config.linkPath = m_link;
        m_sim = std::make_unique<sim::CSimulator>(config);
        showMapPageOne(*m_sim);
        m_sim->start();
    }
    void comeBackAs(const sim::ControllerSettings& settings) {
        m_sim->replaceController(settings);
        showMapPageOne(*m_sim);
        m_sim->comeBack();
    }
    SAppOptions options() const {
        SAppOptions options;
        options.port = m_link;
        return options;
    }

    static CCalibrationPage* mapPage(CVeko2012App& app) {
        const CMultiPageCtrl* pages = app.frame().mainView()->pageCtrl();
        for (int i = 0; i < pages->getPageCount(); ++i) {
            if (auto* page = dynamic_cast<CCalibrationPage*>(pages->getPage(i)))
                return page;
        }
        return nullptr;
    }
    // Ctrl+Up on one cell of the page's injection map, as the fitter types it; Ctrl+Z undoes.
    static void stepCell(CCalibrationPage& page, int row, int column) {
        page.timeGrid().map().pressCell(column, row);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier);
        QApplication::sendEvent(&page.timeGrid().view(), &key);
    }
    static void undo(CCalibrationPage& page) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        QApplication::sendEvent(&page.timeGrid().view(), &key);
    }
    static QString caption(CVeko2012App& app) { return app.frame().captionBar()->captionText(); }
    // The cable is pulled: the window sees the link go.
    void pullCable(CVeko2012App& app) {
        m_sim->hangUp();
        ASSERT_TRUE(waitFor([&] { return caption(app).contains("BRAK POŁĄCZENIA"); }, 15000));
    }
    static bool connectedAndPolling(CVeko2012App& app) {
        return app.doc().device().isConnected() && app.doc().polling().isPolling() &&
               caption(app).endsWith("POŁĄCZONY");
    }

    test::CProcessStateGuard m_processState;
    // The last port, backups and settings files stay out of the user's own folders.
    test::CTempFolder m_home;
    test::CEnvironmentGuard m_homeVariable{"HOME", m_home.path()};
    test::CEnvironmentGuard m_configVariable{"XDG_CONFIG_HOME", m_home.path() + "/.config"};
    std::string m_link;
    std::string m_recording;
    std::unique_ptr<sim::CSimulator> m_sim;
};

TEST_F(Reconnection, AnotherControllerGetsPagesOfItsOwnAndTheOldUndoWritesNothing) {
    startSim(controller(25, "CAR0001"));
    test::CModalAnswerer user;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    CCalibrationPage* page = mapPage(app);
    ASSERT_NE(page, nullptr);
    stepCell(*page, 4, 4);
    ASSERT_EQ(heldCell(*m_sim, 4, 4), 1);
    QPointer<CMultiPageCtrl> oldPages = app.frame().mainView()->pageCtrl();

    pullCable(app);
    EXPECT_FALSE(page->isEnabled()) << "no edits without a controller";
    comeBackAs(controller(40, "CAR0002", 0x0134));
    ASSERT_TRUE(waitFor([&] { return oldPages.isNull() && connectedAndPolling(app); }, 20000))
        << caption(app).toStdString();

    EXPECT_TRUE(caption(app).contains("KT1  v 1.44   firmware: v 1.52"))
        << caption(app).toStdString();
    const QString status = app.frame().statusBar()->currentMessage();
    EXPECT_TRUE(status.startsWith("Podłączono sterownik: KARMEL B1  CAR0002  v 1.52"))
        << status.toStdString();
    page = mapPage(app);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isEnabled());
    EXPECT_EQ(page->timeGrid().view().cell(4, 4).getTxt(), "0.0") << "the new car's map";
    m_sim->transcript().clear();
    undo(*page);
    EXPECT_EQ(m_sim->transcript().countRequests(blockInfo(EBlock::TimeMap1).code), 0u);
    EXPECT_EQ(heldCell(*m_sim, 4, 4), 0);
}

TEST_F(Reconnection, TheSameControllerKeepsItsPagesAndItsUndo) {
    startSim(controller(25, "CAR0001"));
    test::CModalAnswerer user;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    QPointer<CCalibrationPage> page = mapPage(app);
    ASSERT_FALSE(page.isNull());
    stepCell(*page, 2, 7);
    ASSERT_EQ(heldCell(*m_sim, 2, 7), 1);

    pullCable(app);
    auto* readings =
        dynamic_cast<CReadingsDlg*>(app.frame().readingsView()->pageCtrl()->getPage(0));
    ASSERT_NE(readings, nullptr);
    // The gauges show no last sample as if it were live.
    EXPECT_TRUE(waitFor([&] { return !readings->gauge(0)->hasValue(); }, 2000));
    EXPECT_TRUE(readings->gauge(0)->valueText().isEmpty());
    EXPECT_FALSE(readings->gasButton()->isEnabled());

    m_sim->comeBack();
    ASSERT_TRUE(waitFor([&] { return connectedAndPolling(app); }, 20000))
        << caption(app).toStdString();
    ASSERT_FALSE(page.isNull()) << "the pages stay";
    EXPECT_EQ(mapPage(app), page.data());
    EXPECT_TRUE(page->isEnabled());
    EXPECT_FALSE(app.frame().statusBar()->currentMessage().contains("Podłączono sterownik"));
    EXPECT_TRUE(waitFor([&] { return readings->gauge(0)->hasValue(); }, 5000));

    undo(*page);
    EXPECT_EQ(heldCell(*m_sim, 2, 7), 0) << "the undo history stayed with its map";
}

// Changed behind the window's back while the cable was out (another tool, another laptop): the
// pages, the undo history and the saved-file match all belong to the map that was there before.
TEST_F(Reconnection, TheSameControllerHoldingAnotherMapGetsPagesBuiltFromIt) {
    startSim(controller(25, "CAR0001"));
    test::CModalAnswerer user;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    CCalibrationPage* page = mapPage(app);
    ASSERT_NE(page, nullptr);
    stepCell(*page, 2, 7);
    ASSERT_EQ(heldCell(*m_sim, 2, 7), 1);
    CDeviceConfig changed = app.doc().device().configCopy();
    ASSERT_TRUE(writeSettings(settingsFolder() + "before.dsettings", changed));
    changed.m_mapTimeEmu1[6][6] = 0.5;
    ASSERT_TRUE(writeSettings(settingsFolder() + "after.dsettings", changed));
    app.frame().showSavedMatch();
    ASSERT_EQ(app.frame().statusBar()->currentMessage(), "Zgodne z: before.dsettings");
    QPointer<CCalibrationPage> oldPage = page;

    pullCable(app);
    m_sim->withController([&changed](sim::CControllerModel& model) {
        model.blocks().store(blockInfo(EBlock::TimeMap1).code,
                             encodeBlock(EBlock::TimeMap1, changed));
    });
    m_sim->comeBack();
    ASSERT_TRUE(waitFor([&] { return oldPage.isNull() && connectedAndPolling(app); }, 20000))
        << caption(app).toStdString();

    const QString status = app.frame().statusBar()->currentMessage();
    EXPECT_TRUE(status.endsWith("Zgodne z: after.dsettings")) << status.toStdString();
    page = mapPage(app);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->timeGrid().view().cell(6, 6).getTxt(), "0.5");
    m_sim->transcript().clear();
    undo(*page);
    EXPECT_EQ(m_sim->transcript().countRequests(blockInfo(EBlock::TimeMap1).code), 0u);
    EXPECT_EQ(heldCell(*m_sim, 6, 6), 5);
}

// The retry cycle comes every eleventh tick of 200 ms, so the first retry after the ignition is
// switched on comes within 2.2 s; the test holds that this first retry is the one that connects.
TEST_F(Reconnection, AControllerSwitchedOnAfterTheProgramIsFoundByTheNextRetry) {
    test::CModalAnswerer user;
    user.chooseDemo = false;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    ASSERT_FALSE(app.doc().device().isConnected());
    waitFor([] { return false; }, 1000);

    startSim(controller(25, "LAT0042"));
    // A retry resets the countdown when it starts; one seen to end without a controller failed.
    int failedRetries = 0;
    int countdown = app.frame().connectionWatch().countdown();
    ASSERT_TRUE(waitFor([&] { return connectedAndPolling(app); }, 10000,
                        [&] {
                            const int now = app.frame().connectionWatch().countdown();
                            if (now > countdown && !app.doc().device().isConnected())
                                ++failedRetries;
                            countdown = now;
                        }));
    EXPECT_EQ(failedRetries, 0);
    // Its pages, built from what it holds.
    EXPECT_TRUE(waitFor([&] { return mapPage(app) != nullptr; }, 2000));
    EXPECT_EQ(app.doc().device().config().m_devInfo.m_serial, "LAT0042");
}

TEST_F(Reconnection, ConnectInTheFileMenuLooksAtOnceAndSaysWhenNothingAnswers) {
    test::CModalAnswerer user;
    user.chooseDemo = false;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    QAction* connect = app.frame().mainMenu()->findAction("Połącz");
    ASSERT_NE(connect, nullptr);
    const auto saidNoConnection = [&] { return user.boxTexts.count("BRAK POŁĄCZENIA"); };
    const qsizetype saidAtStart = saidNoConnection();

    connect->trigger();
    EXPECT_FALSE(app.doc().device().isConnected());
    EXPECT_EQ(saidNoConnection(), saidAtStart + 1);

    // No tick of the retry cycle between the controller appearing and the command.
    startSim(controller(25, "NOW0001"));
    connect->trigger();
    EXPECT_TRUE(connectedAndPolling(app)) << caption(app).toStdString();
    EXPECT_EQ(saidNoConnection(), saidAtStart + 1);
    EXPECT_TRUE(waitFor([&] { return mapPage(app) != nullptr; }, 2000));
}

TEST_F(Reconnection, ARecordingGoesOnThroughThreeLostLinksInOneFile) {
    startSim(controller(25, "CAR0001"));
    test::CModalAnswerer user;
    CVeko2012App app(options());
    ASSERT_TRUE(app.start());
    CMultiPageCtrl* top = app.frame().readingsView()->pageCtrl();
    ASSERT_TRUE(top->activatePage(1));
    auto* charts = dynamic_cast<COscDlg*>(top->getActivePage());
    ASSERT_NE(charts, nullptr);
    const QString name = QString::fromStdString(std::filesystem::path(m_recording).filename());
    const auto label = [&] { return charts->fileLabel()->text(); };
    EXPECT_TRUE(label().isEmpty()) << "nothing recorded, nothing said";

    ASSERT_TRUE(app.doc().polling().startRecording(m_recording));
    std::vector<std::size_t> periodEnds;
    std::string kept;
    for (int period = 0; period < 4; ++period) {
        const std::size_t before = periodEnds.empty() ? 0 : periodEnds.back();
        ASSERT_TRUE(waitFor([&] { return linesIn(m_recording) >= before + 5; }, 20000))
            << "period " << period;
        EXPECT_EQ(label(), "Nagrywanie: " + name);
        EXPECT_TRUE(charts->stopButton()->isEnabled());
        // What earlier periods wrote is still the file's beginning.
        EXPECT_EQ(firstLines(m_recording, before), kept);
        if (period == 3)
            break;
        pullCable(app);
        EXPECT_TRUE(waitFor([&] { return label().startsWith("Nagrywanie wstrzymane"); }, 2000));
        EXPECT_EQ(label(), "Nagrywanie wstrzymane (brak połączenia): " + name);
        EXPECT_TRUE(charts->stopButton()->isEnabled());
        periodEnds.push_back(linesIn(m_recording));
        kept = firstLines(m_recording, periodEnds.back());
        m_sim->comeBack();
        ASSERT_TRUE(waitFor([&] { return connectedAndPolling(app); }, 20000));
    }
    ASSERT_EQ(periodEnds.size(), 3u);
    EXPECT_GT(periodEnds[0], 0u);
    EXPECT_LT(periodEnds[0], periodEnds[1]);
    EXPECT_LT(periodEnds[1], periodEnds[2]);

    // Only the user ends it.
    charts->stopButton()->click();
    EXPECT_TRUE(app.doc().polling().isPolling());
    waitFor([] { return false; }, 400);
    EXPECT_TRUE(label().isEmpty());
    EXPECT_FALSE(charts->stopButton()->isEnabled());
}

// A reconnection that finds the controller but cannot start polling (an earlier polling thread
// stuck on the line) must leave the window disconnected and retrying, never "connected".
TEST_F(Reconnection, APollingStartThatFailsAfterReconnectingKeepsTheRetriesGoing) {
    class CStuckThread : public CSThread {
    public:
        explicit CStuckThread(std::atomic<bool>& release) : m_release(release) {}
        void run() override {
            while (!m_release.load())
                ::usleep(10000);
        }

    private:
        std::atomic<bool>& m_release;
    };
    startSim(controller(25, "CAR0001"));
    test::CModalAnswerer user;
    CThreadManager threads;
    CVeko2012Doc doc(nullptr, threads);
    doc.buildErrorDecoders();
    CConnectionProcedure connection(doc, CConnectionProcedure::EMode::Port, m_link);
    connection.connectAtStartUp();
    ASSERT_TRUE(doc.device().isConnected());
    CMainFrame frame(doc, pageCatalogue());
    frame.setReconnect([&](bool userAsked) { return connection.reconnect(userAsked); });
    frame.runCommand(CMainFrame::ECommand::Create);
    ASSERT_TRUE(doc.polling().startPolling(std::string()));
    frame.showConnectionState(true);
    const auto frameCaption = [&] { return frame.captionBar()->captionText(); };

    m_sim->hangUp();
    ASSERT_TRUE(waitFor([&] { return frameCaption().contains("BRAK POŁĄCZENIA"); }, 15000));
    std::atomic<bool> release{false};
    threads.insert(std::make_unique<CStuckThread>(release));
    m_sim->transcript().clear();
    m_sim->comeBack();
    const auto neverConnected = [&] {
        ASSERT_FALSE(frameCaption().endsWith("POŁĄCZONY")) << "polling never started";
    };
    // The controller answers, the polling start gives up on the stuck thread, and the next
    // attempt comes all the same.
    ASSERT_TRUE(waitFor([&] { return m_sim->transcript().countRequests(2, 204) > 0; }, 10000,
                        neverConnected));
    ASSERT_TRUE(waitFor(
        [&] { return !frame.connectionWatch().attempting() && !doc.device().isConnected(); }, 15000,
        neverConnected));
    const std::size_t identified = m_sim->transcript().countRequests(2, 204);
    ASSERT_TRUE(waitFor([&] { return m_sim->transcript().countRequests(2, 204) > identified; },
                        10000, neverConnected));
    release.store(true);
    ASSERT_TRUE(waitFor(
        [&] { return doc.device().isConnected() && frameCaption().endsWith("POŁĄCZONY"); }, 20000));
    EXPECT_TRUE(doc.polling().isPolling());
    doc.polling().stopPolling();
    EXPECT_TRUE(threads.waitAll(5000));
}

} // namespace
} // namespace torva
