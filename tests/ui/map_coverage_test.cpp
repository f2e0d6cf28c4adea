// The coverage layer of the calibration pages: a drive recorded from the controller simulator
// shows the counts torvactl prints for it, live samples land on the cells the live cursor
// marks, the grids stay editable underneath, and one click removes it all.
#include "fixture/device_sim_fixture.h"

#include "config/data_folders.h"
#include "config/process_state_guard.h"
#include "config/settings_io.h"
#include "diag/live_records.h"
#include "diag/polling_control.h"
#include "link/diag_data.h"
#include "platform/thread_manager.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/cell_overlay_layer.h"
#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/maps/map_coverage_view.h"
#include "ui/pages/maps/map_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <sstream>
#include <thread>

using namespace torva;

namespace {

class MapCoverage : public test::CDeviceSimFixture {
protected:
    void show(CCalibrationPage& page) {
        page.fillFromConfig();
        page.resize(1280, 800);
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }
    // Opens a grid's context menu and picks the item with this text.
    static void pickFromMenu(CCellArray& view, const QString& text) {
        bool picked = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (QAction* action : menu->actions()) {
                if (action->text() == text) {
                    action->trigger();
                    picked = true;
                }
            }
            menu->close();
        });
        emit view.customContextMenuRequested(view.cellRect(3, 3).center());
        EXPECT_TRUE(picked) << text.toStdString();
    }

    test::CProcessStateGuard m_processState;
    test::CRecordingUi m_ui;
    test::CTempFolder m_folder;
};

// torvactl's cells of map 3 (channel 2), row by row.
std::vector<std::vector<int>> torvactlCounts(const std::string& recording,
                                             const std::string& settings) {
    QProcess tool;
    tool.start(QStringLiteral(TORVACTL_PROGRAM),
               {"oscd", "cells", QString::fromStdString(recording), "--settings",
                QString::fromStdString(settings), "--map", "3"});
    EXPECT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    std::vector<std::vector<int>> counts;
    std::istringstream lines(tool.readAllStandardOutput().toStdString());
    std::string line;
    std::getline(lines, line); // RPM points
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, '\t'); // load point
        counts.emplace_back();
        while (std::getline(fields, field, '\t'))
            counts.back().push_back(std::stoi(field));
    }
    return counts;
}

TEST_F(MapCoverage, ARecordedDriveShowsTheCountsTorvactlPrints) {
    CLPGDevice& device = connect();
    const std::string recording = m_folder.file("drive.oscd");
    {
        CThreadManager threads;
        CPollingControl polling(device, threads);
        ASSERT_TRUE(polling.startPolling(recording));
        for (int wait = 0; wait < 200 && device.diagData().count() < 25; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        polling.stopPolling();
    }
    const std::string settings = m_folder.file("car.dsettings");
    CDeviceConfig exported = device.configCopy();
    exported.m_timeStamp = "09-12-2026-08:15:02"; // as an export stamps it
    ASSERT_TRUE(writeSettings(settings, exported));

    CCalibration2 page(device);
    show(page);
    m_ui.queueFile(recording);
    pickFromMenu(page.timeGrid().view(), QStringLiteral("Pokrycie z nagrania…"));
    ASSERT_EQ(m_ui.fileChoices().size(), 1u);
    EXPECT_EQ(m_ui.fileChoices()[0].folder, diagnosticFolder());
    const CMapCoverageView& coverage = page.coverage();
    ASSERT_EQ(coverage.source(), CMapCoverageView::ESource::Recording);
    EXPECT_GE(coverage.coverage().total(), 25u);

    const auto expected = torvactlCounts(recording, settings);
    ASSERT_EQ(expected.size(), std::size_t{kMapRows});
    for (std::size_t grid = 0; grid < 2; ++grid) {
        const CCellOverlay& overlay = coverage.layer(grid).overlay();
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                const int count = expected[row][column];
                EXPECT_EQ(coverage.coverage().count({column, row}), count) << row << "," << column;
                EXPECT_EQ(overlay.cell(row, column).shade >= 0, count > 0);
                EXPECT_EQ(overlay.cell(row, column).tip, QStringLiteral("Próbki: %1").arg(count));
            }
        }
    }
}

// Polled from the simulator while the window ticks: each sample counts once, on the cell its
// recorded line falls on, however the samples fall between ticks.
TEST_F(MapCoverage, LiveCoverageOfAPolledDriveEqualsItsRecording) {
    CLPGDevice& device = connect();
    CCalibration3 page(device);
    show(page);
    pickFromMenu(page.timeGrid().view(), QStringLiteral("Pokrycie na żywo"));
    ASSERT_EQ(page.coverage().source(), CMapCoverageView::ESource::Live);

    const std::string recording = m_folder.file("live.oscd");
    {
        CThreadManager threads;
        CPollingControl polling(device, threads);
        ASSERT_TRUE(polling.startPolling(recording));
        for (int tick = 0; tick < 100 && device.diagData().count() < 20; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(tick % 2 == 0 ? 30 : 170));
            page.refresh();
        }
        polling.stopPolling();
    }
    page.refresh();

    const CMapCoverage expected =
        binRecords(readDiagFile(recording),
                   CCoverageRule(device.configCopy(), page.timeGrid().map().info().channel));
    const CMapCoverage& live = page.coverage().coverage();
    ASSERT_GE(expected.total(), 20u);
    EXPECT_EQ(live.total(), expected.total());
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            EXPECT_EQ(live.count({column, row}), expected.count({column, row}))
                << row << "," << column;
    }
}

TEST_F(MapCoverage, LiveSamplesLandOnTheLiveCellWhileTheGridStaysEditable) {
    CLPGDevice& device = connect();
    CCalibration1 page(device);
    show(page);
    DiagSample sample{};
    int seq = 0;
    const auto push = [&](std::uint16_t period, std::uint16_t signal) {
        sample.m_rpmPeriod = period;
        sample.m_signal[0] = signal;
        sample.m_gasInjTime = 1500; // 3.00 ms
        sample.m_seq = ++seq;
        device.diagData().push(sample);
    };
    push(7500, 300); // before the switch: not counted
    page.refresh();
    pickFromMenu(page.emulationGrid().view(), QStringLiteral("Pokrycie na żywo"));
    ASSERT_EQ(page.coverage().source(), CMapCoverageView::ESource::Live);

    const CDeviceConfig before = device.configCopy();
    for (int tick = 0; tick < 4; ++tick) {
        // Two samples a tick, both counted; the cursor marks the newer one.
        push(static_cast<std::uint16_t>(9000 - 1000 * tick), 200);
        push(static_cast<std::uint16_t>(9000 - 1000 * tick),
             static_cast<std::uint16_t>(400 + 150 * tick));
        page.refresh();
        const CMapArray& map = page.timeGrid().map();
        EXPECT_GE(page.coverage().coverage().count({map.m_liveCol, map.m_liveRow}), 1)
            << "tick " << tick;
    }
    EXPECT_EQ(page.coverage().coverage().total(), 8u);
    EXPECT_EQ(device.configCopy(), before) << "the coverage changed the record";

    // The cells show the mean of the chosen column; hovering names it and the samples.
    CValueCombo* chooser = page.coverage().chooser();
    chooser->setCurrentIndex(1); // gas injection time
    emit chooser->activated(1);
    const CMapArray& map = page.timeGrid().map();
    const SOverlayCell& live =
        page.coverage().layer(0).overlay().cell(map.m_liveRow, map.m_liveCol);
    EXPECT_EQ(live.text, "3.00");
    EXPECT_EQ(page.coverage().layer(1).overlay().cell(0, 14).text, "-");
    CCellArray& view = page.timeGrid().view();
    const QPoint where = view.cellRect(map.m_liveRow, map.m_liveCol).center();
    QHelpEvent hover(QEvent::ToolTip, where, view.mapToGlobal(where));
    QApplication::sendEvent(&view, &hover);
    EXPECT_EQ(QToolTip::text(),
              QStringLiteral("Czas wtrysku gazu: 3.00\nPróbki: %1")
                  .arg(page.coverage().coverage().count({map.m_liveCol, map.m_liveRow})));

    // Editing goes on under the layer: a click selects, Ctrl+Up steps the map in the controller.
    QTest::mouseClick(&view, Qt::LeftButton, {}, view.cellRect(2, 2).center());
    const double cell = device.config().m_mapTimeEmu1[2][2];
    QTest::keyClick(&view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_NEAR(device.config().m_mapTimeEmu1[2][2], cell + 0.1, 1e-9) << transcriptText();
    EXPECT_TRUE(page.coverage().layer(0).isShown());

    QTest::mouseClick(page.coverage().hideButton(), Qt::LeftButton);
    EXPECT_EQ(page.coverage().source(), CMapCoverageView::ESource::None);
    EXPECT_FALSE(page.coverage().layer(0).isShown());
    EXPECT_FALSE(page.coverage().layer(1).isShown());
    EXPECT_FALSE(page.coverage().bar()->isVisible());
    push(7500, 300);
    page.refresh();
    EXPECT_EQ(page.coverage().coverage().total(), 0u);
}

} // namespace
