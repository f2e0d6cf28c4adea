// The calibration pages against the controller simulator: their controls write the blocks they
// name, the clear buttons ask first, the two grids move and select together, and the live cell
// shows on both.
#include "fixture/device_sim_fixture.h"

#include "config/block_codec.h"
#include "config/process_state_guard.h"
#include "link/diag_data.h"
#include "link/lpg_device.h"
#include "link/request_shapes.h"
#include "link/serial_settings.h"
#include "maps/map_array.h"
#include "support/recording_ui.h"
#include "ui/controls/cell_array.h"
#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/maps/map_grid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace torva;
using calibration::ETpsLimitBox;

namespace {

class CalibrationPages : public test::CDeviceSimFixture {
protected:
    // The simulator holds what the record encodes to.
    void expectStored(EBlock block) {
        EXPECT_EQ(sim().blockImage(blockInfo(block).code), encodeBlock(block, m_device->config()))
            << transcriptText();
    }
    void show(CCalibrationPage& page) {
        page.fillFromConfig();
        page.resize(1280, 800);
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }
    static void choose(CValueCombo* combo, int value) {
        // The items are "Wyłączony" (0) and "Włączony" (1), in that order.
        combo->setCurrentIndex(value);
        emit combo->activated(value);
    }

    test::CProcessStateGuard m_processState;
    test::CRecordingUi m_ui;
};

TEST_F(CalibrationPages, PageOneControlsWriteTheirBlocksOnlyWhileConnected) {
    CLPGDevice& device = connect();
    CCalibration1 page(device);
    show(page);
    EXPECT_EQ(page.pageTitle(), "Mapa Map Sensor");
    ASSERT_TRUE(page.mapCutOffField()->isVisible()) << "firmware 303 has the gas cut-off";

    choose(page.emulationCombo(), 1);
    EXPECT_EQ(device.config().m_base.m_emuEnable[0], 1);
    expectStored(EBlock::Base);

    const double offset = device.config().m_serviceSetup.m_emuOffset[0];
    page.offsetField()->stepBy(1);
    EXPECT_NEAR(device.config().m_serviceSetup.m_emuOffset[0], offset + 0.005, 1e-9);
    const double cutOff = device.config().m_serviceSetup.m_mapCutOff;
    page.mapCutOffField()->stepBy(-1);
    EXPECT_NEAR(device.config().m_serviceSetup.m_mapCutOff, std::max(0.0, cutOff - 0.01), 1e-9);
    expectStored(EBlock::Service);

    // The coupling is the page's own: nothing goes to the controller.
    const std::size_t requests = sim().transcript().size();
    page.emuPerPercentField()->stepBy(1);
    EXPECT_EQ(page.emuPerPercentField()->text(), "0.1");
    EXPECT_EQ(sim().transcript().size(), requests);

    // Without a controller nothing can be edited: an edit would only be undone, unseen, by the
    // next read. The grids and the live values go quiet too.
    device.setConnected(false);
    page.connectionChanged(false);
    const double offsetShown = device.config().m_serviceSetup.m_emuOffset[0];
    QTest::keyClick(page.offsetField(), Qt::Key_Down);
    QTest::keyClick(&page.timeGrid().view(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_FALSE(page.offsetField()->isEnabled());
    EXPECT_FALSE(page.timeGrid().view().isEnabled());
    EXPECT_EQ(device.config().m_serviceSetup.m_emuOffset[0], offsetShown);
    EXPECT_EQ(sim().transcript().size(), requests);
    EXPECT_TRUE(m_ui.messages().empty());
    page.inputField()->setText("1.23");
    page.refresh();
    EXPECT_TRUE(page.inputField()->text().isEmpty());

    device.setConnected(true);
    page.connectionChanged(true);
    EXPECT_TRUE(page.offsetField()->isEnabled());
}

TEST_F(CalibrationPages, ClearAsksThenSendsTheClearPairAndZeroesTheMap) {
    CLPGDevice& device = connect();
    MapValues ones{};
    for (auto& row : ones)
        row.fill(1.0);
    ASSERT_TRUE(writeMapImage(device, 1, ones));
    CCalibration1 page(device);
    show(page);
    page.timeGrid().map().selectRect(5, 5, 5, 5);
    ASSERT_EQ(page.timeGrid().map().incrementSelected(0.1), EEditResult::Done);
    ASSERT_TRUE(page.timeGrid().map().canUndo());
    sim().transcript().clear();

    m_ui.queueAnswer(EAnswer::No);
    QTest::mouseClick(page.clearTimeButton(), Qt::LeftButton);
    EXPECT_EQ(m_ui.questions().size(), 1u);
    EXPECT_EQ(sim().transcript().size(), 0u);
    EXPECT_EQ(device.config().m_mapTimeEmu1[3][3], 1.0);

    m_ui.queueAnswer(EAnswer::Yes);
    QTest::mouseClick(page.clearTimeButton(), Qt::LeftButton);
    std::vector<int> subCodes;
    for (const auto& entry : sim().transcript().entries()) {
        if (entry.direction == sim::Direction::Request && entry.code == request::kQueryCode)
            subCodes.push_back(entry.subCode());
    }
    EXPECT_EQ(subCodes, (std::vector<int>{34, 26})) << transcriptText();
    EXPECT_EQ(device.config().m_mapTimeEmu1[3][3], 0.0);
    EXPECT_FALSE(page.timeGrid().map().canUndo()) << "no earlier change fits the cleared map";
    EXPECT_EQ(page.timeGrid().view().cell(3, 3).getTxt(), "0.0");
    expectStored(EBlock::TimeMap1);
}

TEST_F(CalibrationPages, KeysMirrorTheSelectionAndTheCouplingMovesTheTimeMap) {
    CLPGDevice& device = connect();
    MapValues twos{};
    for (auto& row : twos)
        row.fill(2.0);
    ASSERT_TRUE(writeMapImage(device, 3, twos));
    ASSERT_TRUE(writeMapImage(device, 4, MapValues{}));
    device.config().m_tempomatSetup.m_tempomatFlags &= ~1; // MAF: both maps move the same way
    CCalibration2 page(device);
    show(page);
    for (int click = 0; click < 5; ++click)
        page.emuPerPercentField()->stepBy(1);

    CCellArray& emuView = page.emulationGrid().view();
    QTest::mouseClick(&emuView, Qt::LeftButton, {}, emuView.cellRect(4, 6).center());
    QTest::keyClick(&emuView, Qt::Key_R);
    QTest::keyClick(&emuView, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(page.timeGrid().map().isSelected(6, 4));
    EXPECT_TRUE(page.timeGrid().map().isSelected(7, 4));
    EXPECT_FALSE(page.timeGrid().map().isSelected(8, 4));

    QTest::keyClick(&emuView, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(device.config().m_mapEmu2[4][7], 1.0);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu2[4][7], 2.5);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu2[5][7], 2.0);
    expectStored(EBlock::TimeMap2);

    // The time grid's own arrows move the emulation grid's selection too.
    QTest::keyClick(&emuView, Qt::Key_L);
    QTest::keyClick(&page.timeGrid().view(), Qt::Key_Down);
    EXPECT_TRUE(page.emulationGrid().map().isSelected(6, 5) ||
                page.emulationGrid().map().isSelected(7, 5));
    EXPECT_FALSE(page.emulationGrid().map().isSelected(7, 4));
}

TEST_F(CalibrationPages, DefinitionWritesTheNewLoadAxisAndBothGridsShowIt) {
    CLPGDevice& device = connect();
    CCalibration2 page(device);
    show(page);
    // The dialog is modal: fill it in once it is up.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CEmuDefinitionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->minValueEdit()->setText("1.00");
        dialog->maxValueEdit()->setText("4.00");
        dialog->okButton()->click();
    });
    QTest::mouseClick(page.definitionButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(device.config().m_mapCoordinatesEmu2[0], 1.0);
    EXPECT_DOUBLE_EQ(device.config().m_mapCoordinatesEmu2[kMapRows - 1], 4.0);
    expectStored(EBlock::Axis2);
    EXPECT_EQ(page.emulationGrid().view().rowHeader(kMapRows - 1),
              page.timeGrid().view().rowHeader(kMapRows - 1));
    EXPECT_TRUE(page.timeGrid().view().rowHeader(kMapRows - 1) == "4.00" ||
                page.timeGrid().view().rowHeader(kMapRows - 1) == "100");
}

TEST_F(CalibrationPages, LiveCellShowsOnBothGridsFromTheNewestSample) {
    CLPGDevice& device = connect();
    CCalibration1 page(device);
    show(page);
    DiagSample sample{};
    sample.m_rpmPeriod = 7500; // 2000 rpm
    sample.m_signal[0] = 0;    // no input: no emulation percentage
    sample.m_signal[1] = 500;
    device.diagData().push(sample);
    page.refresh();
    EXPECT_EQ(page.inputField()->text(), "0.00");
    EXPECT_EQ(page.emulationPercentField()->text(), "0.00");

    sample.m_signal[0] = 800;
    device.diagData().push(sample);
    page.refresh();
    const auto current = [](CCellArray& view) {
        for (int row = 0; row < view.rows(); ++row)
            for (int column = 0; column < view.columns(); ++column)
                if (view.cell(row, column).isCurrent())
                    return std::pair{row, column};
        return std::pair{-1, -1};
    };
    const auto marked = current(page.timeGrid().view());
    EXPECT_NE(marked.first, -1);
    EXPECT_EQ(current(page.emulationGrid().view()), marked);
    EXPECT_NE(page.emulationPercentField()->text(), "0.00");
}

TEST_F(CalibrationPages, PageThreeLimiterBoxesAndCorrelationTable) {
    CLPGDevice& device = connect();
    device.config().m_base.m_flags |= calibration::kTpsChannelsCoupledFlag;
    device.config().m_serviceSetup.m_tpsJump = 0;
    device.config().m_serviceSetup.m_tpsEmLimitFlag = 0;
    CCalibration3 page(device);
    show(page);

    page.tpsJumpField()->stepBy(1);
    EXPECT_DOUBLE_EQ(device.config().m_serviceSetup.m_tpsJump, 0.05);
    const double delay = device.config().m_serviceSetup.m_tpsEmLimitDelay;
    page.emLimitDelayField()->stepBy(1);
    EXPECT_DOUBLE_EQ(device.config().m_serviceSetup.m_tpsEmLimitDelay,
                     std::min(5000.0, delay + 25));

    // Coupled TPS channels: EMU3 takes EMU4 along.
    QTest::mouseClick(page.limitBox(ETpsLimitBox::Emu3), Qt::LeftButton);
    EXPECT_EQ(device.config().m_serviceSetup.m_tpsEmLimitFlag, 0x0C);
    EXPECT_TRUE(page.limitBox(ETpsLimitBox::Emu4)->isChecked());
    QTest::mouseClick(page.limitBox(ETpsLimitBox::GasMap), Qt::LeftButton);
    EXPECT_EQ(device.config().m_serviceSetup.m_tpsEmLimitFlag, 0x1C);
    expectStored(EBlock::Service);

    sim().transcript().clear();
    QTest::mouseClick(page.correlationButton(), Qt::LeftButton);
    EXPECT_GE(sim().transcript().countRequests(request::kQueryCode, 59), 1u) << transcriptText();
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(CalibrationPages, DigitalTpsSwitchWritesTheServiceBlockAndShowsPulses) {
    CLPGDevice& device = connect();
    CCalibrationTPSDigital page(device);
    show(page);
    EXPECT_EQ(page.offsetField(), nullptr);
    choose(page.emulationCombo(), 1);
    EXPECT_EQ(device.config().m_serviceSetup.m_tpsDigitEmuEnable, 1);
    expectStored(EBlock::Service);

    DiagSample sample{};
    sample.m_ext[1] = 1000; // pulse 1: 2 ms
    sample.m_ext[3] = 455;  // PWM output 1: 45.5 %
    device.diagData().push(sample);
    page.refresh();
    EXPECT_EQ(page.pulseField(0)->text(), "2.00");
    EXPECT_EQ(page.pulseField(6)->text(), "45.50");
    EXPECT_EQ(page.outputField()->text(), "45.50");
}

} // namespace
