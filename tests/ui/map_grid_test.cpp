// The map grids as a fitter drives them on the channel-1 calibration page, mouse and keyboard
// against the controller simulator: what the grids show, what reaches the controller, and what
// the page refuses and says why.
#include "fixture/device_sim_fixture.h"

#include "config/block_codec.h"
#include "config/process_state_guard.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "maps/map_classes.h"
#include "support/recording_ui.h"
#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/maps/map_grid.h"
#include "ui/pages/maps/value_entry_dlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace torva;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The in-place editor that is open over a grid.
QLineEdit* openEditor(CCellArray& view) {
    for (QLineEdit* editor : view.findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

class MapGridPage : public test::CDeviceSimFixture {
protected:
    // A connected controller with both channel-1 maps at value, shown on its page.
    CCalibration1& showPage(double time, double emulation) {
        CLPGDevice& device = connect();
        fill(1, time);
        fill(2, emulation);
        m_page = std::make_unique<CCalibration1>(device);
        m_page->fillFromConfig();
        m_page->resize(1280, 800);
        m_page->show();
        m_page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_page.get()));
        sim().transcript().clear();
        return *m_page;
    }
    void fill(int mapNumber, double value) {
        MapValues map;
        for (auto& row : map)
            row.fill(value);
        ASSERT_TRUE(writeMapImage(*m_device, mapNumber, map));
    }
    CCellArray& timeView() { return m_page->timeGrid().view(); }
    CCellArray& emuView() { return m_page->emulationGrid().view(); }
    void click(CCellArray& view, int row, int column) {
        QTest::mouseClick(&view, Qt::LeftButton, {}, view.cellRect(row, column).center());
    }
    void setCoupling(double msPerPercent) {
        for (long click = 0; click < std::lround(msPerPercent * 10); ++click)
            m_page->emuPerPercentField()->stepBy(1);
    }
    Bytes simBlock(EBlock block) { return sim().blockImage(blockInfo(block).code); }
    Bytes recordBlock(EBlock block) { return encodeBlock(block, m_device->config()); }
    std::size_t writesOf(EBlock block) {
        return sim().transcript().countRequests(blockInfo(block).code);
    }

    test::CProcessStateGuard m_processState;
    test::CRecordingUi m_ui;
    std::unique_ptr<CCalibration1> m_page;
};

TEST_F(MapGridPage, MouseKeysAndCouplingReachTheSimulatorAndTheGridShowsThem) {
    CCalibration1& page = showPage(0, 0);
    setCoupling(0.5);

    // Drag over rows 2-3, columns 4-5 of the emulation grid; the time grid follows.
    QTest::mousePress(&emuView(), Qt::LeftButton, {}, emuView().cellRect(2, 4).center());
    QMouseEvent move(QEvent::MouseMove, emuView().cellRect(3, 5).center(),
                     emuView().mapToGlobal(emuView().cellRect(3, 5).center()), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&emuView(), &move);
    QTest::mouseRelease(&emuView(), Qt::LeftButton, {}, emuView().cellRect(3, 5).center());
    EXPECT_TRUE(page.timeGrid().map().isSelected(5, 3));
    EXPECT_EQ(emuView().cell(2, 4).bkColor(), QColor(255, 255, 255));

    // Ctrl+Up: emulation +1 %, and the coupled time step (-0.5 ms) is refused below 0.
    QTest::keyClick(&emuView(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(m_device->config().m_mapEmu1[3][5], 1);
    EXPECT_EQ(emuView().cell(3, 5).getTxt(), "1");
    EXPECT_EQ(simBlock(EBlock::EmuMap1), recordBlock(EBlock::EmuMap1));

    // Raise the time cells first, then the coupled step lowers them by 0.5 ms.
    QTest::keyClick(&emuView(), Qt::Key_L);
    for (int click = 0; click < 10; ++click)
        QTest::keyClick(&timeView(), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&timeView(), Qt::Key_R);
    QTest::keyClick(&emuView(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[2][4], 0.5);
    EXPECT_EQ(simBlock(EBlock::TimeMap1), recordBlock(EBlock::TimeMap1));

    // Ctrl+Z on the time grid undoes its last step with a whole-map write.
    QTest::keyClick(&emuView(), Qt::Key_L);
    QTest::keyClick(&timeView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[2][4], 1.0);

    // The focused grid's headers turn green.
    EXPECT_TRUE(timeView().hasFocus());
    const QImage shot = page.grab().toImage();
    const QPoint header =
        timeView().mapTo(&page, timeView().cellRect(-1, 3).topLeft() + QPoint(3, 3));
    EXPECT_EQ(shot.pixelColor(header), CCellArray::focusHeaderColor());
}

TEST_F(MapGridPage, AnEmulationStepThatDoesNotHappenMovesNoTimeCell) {
    CCalibration1& page = showPage(5.0, 90); // the emulation map at its ceiling
    setCoupling(0.5);
    click(emuView(), 4, 4);
    QTest::keyClick(&emuView(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(m_device->config().m_mapEmu1[4][4], 90);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[4][4], 5.0);
    EXPECT_EQ(page.timeGrid().view().cell(4, 4).getTxt(), "5.0");
    EXPECT_EQ(sim().transcript().size(), 0u) << transcriptText();

    // Nor does one the controller does not take.
    sim().setSilent(true);
    QTest::keyClick(&emuView(), Qt::Key_Down, Qt::ControlModifier);
    sim().setSilent(false);
    EXPECT_EQ(m_device->config().m_mapEmu1[4][4], 90);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[4][4], 5.0);
    EXPECT_EQ(sim().transcript().countRequests(blockInfo(EBlock::TimeMap1).code), 0u);
    EXPECT_EQ(sim().transcript().countRequests(21), 0u) << "a partial write of the time map";
}

TEST_F(MapGridPage, PageKeysWorkWhileThePagesOwnFieldsHaveTheFocus) {
    CCalibration1& page = showPage(1.0, 0);
    click(timeView(), 6, 6);
    const double offset = m_device->config().m_serviceSetup.m_emuOffset[0];

    page.offsetField()->setFocus();
    QTest::keyClick(page.offsetField(), Qt::Key_Down);
    EXPECT_TRUE(page.timeGrid().map().isSelected(6, 7)) << "Down moves the selection";
    EXPECT_EQ(m_device->config().m_serviceSetup.m_emuOffset[0], offset) << "not the offset";
    EXPECT_TRUE(page.emulationGrid().map().isSelected(6, 7));

    page.emulationCombo()->setFocus();
    QTest::keyClick(page.emulationCombo(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[7][6], 1.1);
    QTest::keyClick(page.emulationCombo(), Qt::Key_R);
    EXPECT_TRUE(emuView().hasFocus());

    // An editable text field keeps its keys: typing into a header is typing.
    QTest::mouseDClick(&timeView(), Qt::LeftButton, {}, timeView().cellRect(2, -1).center());
    QLineEdit* editor = openEditor(timeView());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->hasFocus());
    editor->clear();
    QTest::keyClicks(editor, "1R");
    EXPECT_EQ(editor->text(), "1R");
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(MapGridPage, AHeaderEditShowsTheRefreshTextOnBothGridsAndSaysWhatItChanged) {
    CLPGDevice& device = connect();
    device.config().m_base.m_flags |= kLoadPercentFlag;
    device.config().m_mapCoordinatesEmu1 = {0.5, 0.75, 0.9, 1.25, 1.5, 1.75, 2.0, 2.25,
                                            2.5, 2.75, 3.0, 3.25, 3.5, 3.75, 4.0, 4.5};
    ASSERT_TRUE(device.writeBlock(EBlock::Axes1Rpm));
    CCalibration1 page(device);
    page.fillFromConfig();
    page.resize(1280, 800);
    page.show();
    CCellArray& time = page.timeGrid().view();
    CCellArray& emu = page.emulationGrid().view();

    QTest::mouseDClick(&time, Qt::LeftButton, {}, time.cellRect(2, -1).center());
    QLineEdit* editor = openEditor(time);
    ASSERT_NE(editor, nullptr);
    editor->setText("12,5"); // 12.5 % of the span: 1.00 V
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_NEAR(device.config().m_mapCoordinatesEmu1[2], 1.0, 1e-9);
    EXPECT_EQ(time.rowHeader(2), QString::fromStdString(loadHeaderText(device.config(), 1, 2)));
    EXPECT_EQ(emu.rowHeader(2), time.rowHeader(2));
    EXPECT_EQ(time.rowHeader(2), "13");

    // An RPM point typed between hundreds is rounded, and the fitter is told.
    device.config().m_mapRpmCoordinatesEmu1 = {600,  800,  1000, 1200, 1400, 1800, 2200, 2600,
                                               3000, 3400, 3800, 4200, 4600, 5000, 5500};
    QTest::mouseDClick(&time, Qt::LeftButton, {}, time.cellRect(-1, 5).center());
    editor = openEditor(time);
    ASSERT_NE(editor, nullptr);
    editor->setText("1650");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(device.config().m_mapRpmCoordinatesEmu1[5], 1700);
    EXPECT_EQ(emu.columnHeader(5), "1700");
    ASSERT_FALSE(m_ui.messages().empty());
    EXPECT_NE(m_ui.messages().back().text.find("1650"), std::string::npos);
    EXPECT_NE(m_ui.messages().back().text.find("1700"), std::string::npos);

    // An axis that already holds points the controller would not keep is not written, and the
    // fitter is told which point is wrong instead of seeing the edit vanish.
    device.config().m_mapRpmCoordinatesEmu1[8] = 2600; // meets its left neighbour
    const std::size_t told = m_ui.messages().size();
    QTest::mouseDClick(&time, Qt::LeftButton, {}, time.cellRect(-1, 2).center());
    editor = openEditor(time);
    ASSERT_NE(editor, nullptr);
    editor->setText("1100");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(device.config().m_mapRpmCoordinatesEmu1[2], 1000);
    ASSERT_EQ(m_ui.messages().size(), told + 1);
    EXPECT_NE(m_ui.messages().back().text.find("m_mapRpmCoordinatesEmu1[8]"), std::string::npos);
}

TEST_F(MapGridPage, TypingANumberIntoASelectionSetsItAsOneUndoableWrite) {
    CCalibration1& page = showPage(2.0, 0);
    QTest::mousePress(&timeView(), Qt::LeftButton, {}, timeView().cellRect(1, 1).center());
    QMouseEvent move(QEvent::MouseMove, timeView().cellRect(2, 2).center(),
                     timeView().mapToGlobal(timeView().cellRect(2, 2).center()), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&timeView(), &move);
    QTest::mouseRelease(&timeView(), Qt::LeftButton, {}, timeView().cellRect(2, 2).center());

    QTest::keyClick(&timeView(), Qt::Key_7);
    ASSERT_TRUE(page.timeGrid().cellEdit().editing());
    QWidget* editor = page.timeGrid().cellEdit().getWindow();
    QTest::keyClicks(editor, ",5");
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "7,5");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[2][2], 7.5);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[1][2], 7.5);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[3][3], 2.0);
    EXPECT_EQ(writesOf(EBlock::TimeMap1), 1u);
    EXPECT_EQ(simBlock(EBlock::TimeMap1), recordBlock(EBlock::TimeMap1));

    // Beyond the ceiling: refused, naming the range, nothing written.
    QTest::keyClick(&timeView(), Qt::Key_2);
    QTest::keyClicks(editor, "5");
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_FALSE(m_ui.messages().empty());
    EXPECT_NE(m_ui.messages().back().text.find("20.0"), std::string::npos);
    EXPECT_EQ(writesOf(EBlock::TimeMap1), 1u);

    QTest::keyClick(&timeView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[2][2], 2.0);
}

TEST_F(MapGridPage, SetValueKeepsEveryDigitAndRefusesWhatLeavesTheRange) {
    CCalibration1& page = showPage(3.5, 0);
    click(timeView(), 5, 5);
    std::vector<QString> problems;
    QString start;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CValueEntryDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        start = dialog->field()->text();
        for (const char* typed : {"99", "25.5", "abc"}) {
            dialog->field()->setText(typed);
            dialog->okButton()->click();
            problems.push_back(dialog->isVisible() ? dialog->problemLabel()->text() : QString());
        }
        dialog->field()->setText("12.5");
        dialog->okButton()->click();
    });
    page.timeGrid().askAndSetValue();
    EXPECT_EQ(start, "3.5") << "starts from the selected cell";
    ASSERT_EQ(problems.size(), 3u);
    for (const QString& problem : problems)
        EXPECT_TRUE(problem.contains("20.0")) << problem.toStdString();
    EXPECT_DOUBLE_EQ(m_device->config().m_mapTimeEmu1[5][5], 12.5);
    EXPECT_EQ(writesOf(EBlock::TimeMap1), 1u);
}

TEST(CCellArray, CellsTileTheGridWithoutGapsAtAnySize) {
    CCellArray grid;
    grid.init("V", kMapRows, kMapColumns, {}, {});
    for (const QSize size : {QSize(333, 211), QSize(640, 760), QSize(1001, 517)}) {
        grid.resize(size);
        EXPECT_EQ(grid.cellRect(0, kMapColumns - 1).right(), size.width() - 1);
        EXPECT_EQ(grid.cellRect(kMapRows - 1, 0).bottom(), size.height() - 1);
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                const QRect cell = grid.cellRect(row, column);
                EXPECT_EQ(grid.cellAt(cell.center()), std::make_pair(row, column));
                if (column > 0) {
                    EXPECT_EQ(grid.cellRect(row, column - 1).right() + 1, cell.left());
                }
            }
        }
    }
}

} // namespace
