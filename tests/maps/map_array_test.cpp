// The map grid's rules without a window or a controller: live cell, colours, selection, the
// step's payload, offline edits and the header editors.
#include "config/process_state_guard.h"
#include "link/lpg_device.h"
#include "maps/map_classes.h"
#include "maps/map_edit.h"
#include "support/recording_ui.h"
#include "support/scripted_serial.h"

#include <gtest/gtest.h>

using namespace torva;

namespace {

class MapArrayRules : public ::testing::Test {
protected:
    void SetUp() override {
        CDeviceConfig& config = m_device.config();
        for (int c = 0; c < kMapColumns; ++c)
            config.m_mapRpmCoordinatesEmu1[c] = 1000 + 500 * c; // 1000 ... 8000
        for (int r = 0; r < kMapRows; ++r)
            config.m_mapCoordinatesEmu1[r] = 0.5 + 0.3 * r; // 0.50 ... 5.00
        m_device.setDemo(true);
        m_device.setConnected(true);
    }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
    CLPGDevice m_device;
};

TEST_F(MapArrayRules, LiveCellIsTheFirstAxisPointAboveAndLeavesATrail) {
    CMapTime map(m_device);
    EXPECT_EQ(map.findCell(500, 0.1), std::make_pair(0, 0));
    EXPECT_EQ(map.findCell(9000, 9.0), std::make_pair(14, 15));
    EXPECT_EQ(map.findCell(1000, 0.6), std::make_pair(1, 1)); // on a point: the next one
    EXPECT_FALSE(map.isCurrent(0, 0));                        // no live point yet
    map.setCurrentCell(1200, 0.6);
    map.setCurrentCell(9000, 9.0);
    ASSERT_EQ(map.trail().size(), 1u);
    EXPECT_EQ(map.trail()[0].column, 1);
    EXPECT_TRUE(map.isCurrent(14, 15));
    EXPECT_EQ(map.cellColor(14, 15), CMapArray::kCurrentCellColor);
}

TEST_F(MapArrayRules, ValueColourDeepensAndStopsAtTheEndsInsteadOfWrapping) {
    CMapEmu1 map(m_device);
    EXPECT_EQ(map.valueColor(0), (SRgb{255, 255, 255}));
    EXPECT_EQ(map.valueColor(10), (SRgb{255, 205, 205}));
    EXPECT_EQ(map.valueColor(60), (SRgb{255, 0, 0}));
    EXPECT_EQ(map.valueColor(-60), (SRgb{255, 255, 0}));
}

TEST_F(MapArrayRules, SelectionMovesAndWidensAroundItsAnchor) {
    CMapTime map(m_device);
    map.incrementSelected(0.1); // nothing selected: nothing happens
    EXPECT_FALSE(map.canUndo());
    map.pressCell(14, 15);
    map.moveSelection(EArrowKey::Right); // stays at the edge
    map.moveSelection(EArrowKey::Up);
    map.extendSelection(EArrowKey::Left);
    map.extendSelection(EArrowKey::Left);
    map.extendSelection(EArrowKey::Up);
    SCellSelection s = map.getSelection();
    EXPECT_EQ(std::tie(s.firstColumn, s.firstRow, s.lastColumn, s.lastRow),
              std::make_tuple(12, 13, 14, 14));
    map.extendSelection(EArrowKey::Right); // the anchor is right: the left column goes
    map.extendSelection(EArrowKey::Down);  // the anchor is at the bottom: the top row goes
    s = map.getSelection();
    EXPECT_EQ(std::tie(s.firstColumn, s.firstRow, s.lastColumn, s.lastRow),
              std::make_tuple(13, 14, 14, 14));
}

TEST_F(MapArrayRules, StepAmountsAreWireUnitsWithTolerance) {
    SelectionMarks marks{};
    marks[0][0] = true;
    const std::optional<SMapStep> up = mapStepFor(marks, EMapKind::Time, 0.1);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->payload(), (std::array<std::uint8_t, 6>{0, 0, 1, 1, 2, 1}));
    EXPECT_EQ(mapStepFor(marks, EMapKind::Time, -0.1)->payload()[4], SMapStep::kLower);
    EXPECT_FALSE(mapStepFor(marks, EMapKind::Emulation, 0.4));
}

TEST_F(MapArrayRules, OfflineShownOnlyEditsNeverReachTheRecord) {
    m_device.setConnected(false);
    CMapTime time(m_device);
    CMapEmu1 emulation(m_device);
    time.pressCell(1, 1);
    emulation.pressCell(1, 1);
    EXPECT_EQ(time.incrementSelected(0.1), EEditResult::Ignored);
    EXPECT_EQ(emulation.incrementSelected(5), EEditResult::Done);
    EXPECT_EQ(emulation.cellValue(1, 1), 5);
    EXPECT_EQ(m_device.config().m_mapEmu1[1][1], 0);

    // Online again, the first step starts from the record, so the offline 5 is not copied in.
    m_device.setConnected(true);
    emulation.pressCell(2, 2);
    EXPECT_EQ(emulation.incrementSelected(1), EEditResult::Done);
    EXPECT_EQ(m_device.config().m_mapEmu1[1][1], 0);
    EXPECT_EQ(m_device.config().m_mapEmu1[2][2], 1);
}

TEST_F(MapArrayRules, HeaderEditsKeepWhatTheRecordHolds) {
    CMapEditEmu1 edit(m_device);
    CDeviceConfig& config = m_device.config();
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 4, "1,5"), "1.50");
    EXPECT_NEAR(config.m_mapCoordinatesEmu1[4], 1.5, 0.005);
    // No number, or a point past a neighbour: refused, the stored value shows again.
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 4, "abc"), "1.50");
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 4, "2.5"), "1.50");
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 4, ""), "1.50");

    config.m_mapRpmCoordinatesEmu1[14] = 7800;
    EXPECT_EQ(edit.getText(EHeaderCell::Rpm, 14, "9000"), "8000");
    EXPECT_EQ(edit.getText(EHeaderCell::Rpm, 3, "4000"), "2900"); // next point 3000, less 100
    config.m_mapRpmCoordinatesEmu1[1] = 1100;
    config.m_mapRpmCoordinatesEmu1[2] = 1200;
    EXPECT_EQ(edit.getText(EHeaderCell::Rpm, 1, "1150"), "1100"); // rounds onto 1200: refused

    // Percent mode: a typed percentage is a point over the span; end points are not typed.
    config.m_base.m_flags |= kLoadPercentFlag;
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 8, "55"), "55");
    EXPECT_NEAR(config.m_mapCoordinatesEmu1[8], 0.5 + 0.55 * 4.5, 0.005);
    EXPECT_EQ(edit.getText(EHeaderCell::Load, 15, "50"), "100");

    m_device.setConnected(false);
    EXPECT_EQ(edit.getText(EHeaderCell::Rpm, 5, "3600"), "3500");
}

// Answers every wait of a step with a second edit, as a key pressed during the wait would.
class CReenteringUi : public test::CRecordingUi {
public:
    explicit CReenteringUi(CMapArray& map) : m_map(map) {}
    void responsiveWait(int) override {
        m_results.push_back(m_map.incrementSelected(1));
        m_results.push_back(m_map.setSelectedTo(7));
    }
    std::vector<EEditResult> m_results;

private:
    CMapArray& m_map;
};

TEST_F(MapArrayRules, AStepInFlightTakesNoFurtherEdits) {
    CMapEmu1 map(m_device);
    map.pressCell(3, 3);
    CReenteringUi ui(map);
    EXPECT_EQ(map.incrementSelected(1), EEditResult::Done);
    EXPECT_EQ(ui.m_results, (std::vector{EEditResult::Ignored, EEditResult::Ignored}));
    EXPECT_EQ(m_device.config().m_mapEmu1[3][3], 1);
    EXPECT_FALSE(map.busy());
}

TEST_F(MapArrayRules, ALinkErrorInsideAStepIsShownWithItsContextAndChangesNoRecord) {
    auto serial = std::make_unique<test::CScriptedSerial>();
    serial->failWrite(1);
    CLPGDevice device(std::move(serial));
    device.config() = m_device.config();
    device.setConnected(true);
    CMapEmu1 map(device);
    map.pressCell(0, 0);
    EXPECT_EQ(map.incrementSelected(1), EEditResult::Failed);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text.rfind("CMapEmu1::incrementSelected()\n", 0), 0u)
        << m_ui.messages()[0].text;
    EXPECT_EQ(m_ui.messages()[0].icon, EIcon::None);
    EXPECT_EQ(device.config().m_mapEmu1[0][0], 0);
    EXPECT_FALSE(map.busy());
}

} // namespace
