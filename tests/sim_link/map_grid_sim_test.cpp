// The map grid's steps, tools and undo against the controller simulator: what the grid sends is
// what the simulator ends up holding, and the record agrees with it.
#include "fixture/device_sim_fixture.h"

#include "config/block_codec.h"
#include "config/process_state_guard.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "maps/map_classes.h"
#include "support/recording_ui.h"

using namespace torva;
using sim::Direction;
using sim::TranscriptEntry;
using Bytes = std::vector<std::uint8_t>;

namespace {

class MapGridAgainstSimulator : public test::CDeviceSimFixture {
protected:
    Bytes simBlock(int mapNumber) {
        return sim().blockImage(blockInfo(mapInfo(mapNumber).block).code);
    }
    Bytes recordBlock(int mapNumber) {
        return encodeBlock(mapInfo(mapNumber).block, m_device->config());
    }
    // Requests with this code after the connection's reads.
    std::vector<Bytes> requests(std::uint8_t code, int subCode = -1) {
        std::vector<Bytes> found;
        for (const TranscriptEntry& entry : sim().transcript().entries()) {
            if (entry.direction == Direction::Request && entry.code == code &&
                (subCode < 0 || entry.subCode() == subCode))
                found.push_back(entry.payload);
        }
        return found;
    }
    // Every cell of map at value.
    void fill(int mapNumber, double value) {
        MapValues map;
        for (auto& row : map)
            row.fill(value);
        ASSERT_TRUE(writeMapImage(*m_device, mapNumber, map));
    }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
};

TEST_F(MapGridAgainstSimulator, StepSendsThePartialWriteItsCompletionAndWaitsAndTheRecordFollows) {
    connect();
    fill(1, 2.0);
    CMapTime map(*m_device);
    // Rows 14-15, columns 13-14: the counts stop at the grid's edge.
    map.selectRect(13, 14, 14, 15);
    ASSERT_EQ(map.incrementSelected(0.1), EEditResult::Done);
    ASSERT_EQ(map.incrementSelected(-0.1), EEditResult::Done);
    const std::vector<Bytes> parts = requests(21);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], (Bytes{14, 13, 2, 2, 2, 1}));
    EXPECT_EQ(parts[1], (Bytes{14, 13, 2, 2, 3, 1}));
    EXPECT_EQ(requests(2, 26).size(), 2u);
    EXPECT_EQ(m_ui.responsiveWaitMs(), 2 * CMapArray::kStepWaitMs);
    EXPECT_EQ(simBlock(1), recordBlock(1));

    // Eight clicks of +0.1 ms per % make a coupling of 0.7999999...: 8 tenths are sent and
    // the cells move by 0.8, so the record still matches the controller.
    double coupling = 0;
    for (int click = 0; click < 8; ++click)
        coupling += 0.1;
    map.selectRect(0, 0, 0, 0);
    map.clearSelection();
    map.selectRect(2, 3, 2, 3);
    ASSERT_EQ(map.incrementSelected(coupling), EEditResult::Done);
    EXPECT_EQ(requests(21).back()[5], 8);
    EXPECT_DOUBLE_EQ(map.cellValue(2, 3), 2.8);
    EXPECT_EQ(simBlock(1), recordBlock(1));

    // A step that would leave the range is refused whole: nothing shown, nothing sent.
    map.selectRect(2, 3, 3, 3);
    EXPECT_EQ(map.incrementSelected(18.0), EEditResult::Refused);
    EXPECT_EQ(requests(21).size(), 3u);
    EXPECT_DOUBLE_EQ(map.cellValue(3, 3), 2.0);
}

TEST_F(MapGridAgainstSimulator, CoupledTpsStepUpdatesChannelFourInTheRecordAndUndoRestoresBoth) {
    CLPGDevice& device = connect();
    device.config().m_base.m_flags |= kCoupledTpsFlag;
    fill(6, 0);
    fill(8, 5);
    const Bytes emu3Before = simBlock(6);
    const Bytes emu4Before = simBlock(8);
    CMapEmu3 map(device);
    map.selectRect(4, 2, 6, 3);
    ASSERT_EQ(map.incrementSelected(-3), EEditResult::Done);
    EXPECT_EQ(requests(28).back(), (Bytes{2, 4, 2, 3, 3, 3}));
    EXPECT_EQ(requests(2, 33).size(), 1u);
    EXPECT_EQ(device.config().m_mapEmu4[2][4], 2.0);
    EXPECT_EQ(simBlock(8), recordBlock(8));
    EXPECT_EQ(simBlock(6), recordBlock(6));

    ASSERT_EQ(map.undo(), EEditResult::Done);
    EXPECT_EQ(simBlock(6), emu3Before);
    EXPECT_EQ(simBlock(8), emu4Before);
    ASSERT_EQ(map.redo(), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu4[3][6], 2.0);
    EXPECT_EQ(simBlock(8), recordBlock(8));
}

TEST_F(MapGridAgainstSimulator, ARefusedStepShowsItsMessageLeavesTheMapAndSendsNoCoupledStep) {
    CLPGDevice& device = connect();
    device.config().m_base.m_flags |= kCoupledTpsFlag;
    fill(6, 10);
    fill(8, 10);
    const Bytes held = simBlock(6);
    CMapEmu3 map(device);
    map.selectRect(1, 1, 2, 2);
    sim().setSilent(true); // the partial write is not taken
    EXPECT_EQ(map.incrementSelected(1), EEditResult::Failed);
    sim().setSilent(false);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Nie powiodło się wpisanie ustawień do urządzenia!");
    EXPECT_EQ(m_ui.messages()[0].icon, EIcon::Error);
    EXPECT_EQ(map.cellValue(1, 1), 10);
    EXPECT_EQ(device.config().m_mapEmu3[1][1], 10);
    EXPECT_EQ(simBlock(6), held);
    EXPECT_TRUE(requests(28).empty()) << "channel 4 stepped alone";
    EXPECT_EQ(device.config().m_mapEmu4[1][1], 10);
    EXPECT_FALSE(map.canUndo());
}

TEST_F(MapGridAgainstSimulator, AStepStoresOnlyTheCellsItSteppedInTheRecord) {
    CLPGDevice& device = connect();
    // A cell above the page's ceiling of 30, as a settings file may bring it: the controller
    // keeps it, so the record must too.
    MapValues map6{};
    map6[0][0] = 50;
    ASSERT_TRUE(writeMapImage(device, 6, map6));
    CMapEmu3 map(device);
    map.selectRect(5, 5, 5, 5);
    ASSERT_EQ(map.incrementSelected(1), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu3[0][0], 50);
    EXPECT_EQ(device.config().m_mapEmu3[5][5], 1);
    EXPECT_EQ(simBlock(6), recordBlock(6));
}

TEST_F(MapGridAgainstSimulator, ToolsOnCoupledChannelThreeWriteBothMapsAndOneUndoRestoresBoth) {
    CLPGDevice& device = connect();
    device.config().m_base.m_flags |= kCoupledTpsFlag;
    fill(6, 0);
    fill(8, 5);
    const Bytes emu3Before = simBlock(6);
    const Bytes emu4Before = simBlock(8);
    CMapEmu3 map(device);
    map.selectRect(0, 0, 1, 1);

    ASSERT_EQ(map.addToSelected(3), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu3[1][1], 3);
    EXPECT_EQ(device.config().m_mapEmu4[1][1], 8); // its own value, moved the same way
    EXPECT_EQ(device.config().m_mapEmu4[2][2], 5);
    EXPECT_EQ(requests(blockInfo(EBlock::EmuMap3).code).size(), 2u); // fill, then the tool
    EXPECT_EQ(requests(blockInfo(EBlock::EmuMap4).code).size(), 2u);
    EXPECT_EQ(simBlock(6), recordBlock(6));
    EXPECT_EQ(simBlock(8), recordBlock(8));

    // A tool that would take channel 4 out of its range changes neither map.
    EXPECT_EQ(map.addToSelected(23), EEditResult::Refused); // 8 + 23 > 30
    EXPECT_EQ(requests(blockInfo(EBlock::EmuMap3).code).size(), 2u);

    ASSERT_EQ(map.paste("-20\t-21\n"), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu4[0][1], -21);

    ASSERT_EQ(map.undo(), EEditResult::Done);
    ASSERT_EQ(map.undo(), EEditResult::Done);
    EXPECT_FALSE(map.canUndo());
    EXPECT_EQ(simBlock(6), emu3Before);
    EXPECT_EQ(simBlock(8), emu4Before);

    // Uncoupled, the tools leave channel 4 alone.
    device.config().m_base.m_flags &= ~kCoupledTpsFlag;
    ASSERT_EQ(map.setSelectedTo(-7), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu4[0][0], 5);
}

TEST_F(MapGridAgainstSimulator, EveryToolWritesTheWholeMapOnceAndUndoRestoresTheExactBlock) {
    CLPGDevice& device = connect();
    fill(2, 10);
    CMapEmu1 map(device);
    map.selectRect(0, 0, 2, 2);
    const Bytes original = simBlock(2);
    const std::size_t writesBefore = requests(14).size();

    ASSERT_EQ(map.setSelectedTo(20), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[2][2], 20);
    ASSERT_EQ(map.addToSelected(-4), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[1][1], 16);
    ASSERT_EQ(map.scaleSelected(150), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[0][0], 24);
    EXPECT_EQ(simBlock(2), recordBlock(2));
    EXPECT_EQ(requests(14).size(), writesBefore + 3);

    // A tool that would take a cell out of range changes nothing.
    const Bytes held = simBlock(2);
    const std::size_t writes = requests(14).size();
    EXPECT_EQ(map.addToSelected(120), EEditResult::Refused);
    EXPECT_EQ(requests(14).size(), writes);
    EXPECT_EQ(simBlock(2), held);

    // Undo walks back to the very first image, byte for byte; redo brings the next one again.
    while (map.canUndo())
        ASSERT_EQ(map.undo(), EEditResult::Done);
    EXPECT_EQ(simBlock(2), original);
    ASSERT_EQ(map.redo(), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[2][2], 20);
    EXPECT_EQ(simBlock(2), recordBlock(2));

    // Corners 0, 30 / 60, 90: bilinear in between.
    MapValues corners = device.config().m_mapEmu1;
    corners[0][0] = 0, corners[0][2] = 30, corners[2][0] = 60, corners[2][2] = 90;
    ASSERT_TRUE(writeMapImage(device, 2, corners));
    map.fillFromModel();
    ASSERT_EQ(map.interpolateSelected(), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[1][1], 45);
    EXPECT_EQ(device.config().m_mapEmu1[0][1], 15);
    // Smoothing the centre cell alone: the mean of its 3 x 3 block.
    map.clearSelection();
    map.selectRect(1, 1, 1, 1);
    ASSERT_EQ(map.smoothSelected(), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1[1][1], 45);
    EXPECT_EQ(simBlock(2), recordBlock(2));

    // Undo goes back to the map written behind the grid's back, and no further: the map no
    // longer holds what the tool before it left, so that undo writes nothing.
    ASSERT_EQ(map.undo(), EEditResult::Done);
    ASSERT_EQ(map.undo(), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapEmu1, corners);
    const std::size_t writesBeforeStale = requests(14).size();
    EXPECT_EQ(map.undo(), EEditResult::Refused);
    EXPECT_EQ(requests(14).size(), writesBeforeStale);
    EXPECT_EQ(device.config().m_mapEmu1, corners);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].icon, EIcon::Warning);
}

// A reconnection reads the map again; a controller that holds another map by then (another car,
// or another program's edit) must not get an image from the history written over it.
TEST_F(MapGridAgainstSimulator, UndoAndRedoWriteNothingOnceTheControllerHoldsAnotherMap) {
    CLPGDevice& device = connect();
    fill(1, 2.0);
    CMapTime map(device);
    map.selectRect(3, 3, 3, 3);
    ASSERT_EQ(map.incrementSelected(0.1), EEditResult::Done);
    ASSERT_EQ(map.incrementSelected(0.1), EEditResult::Done);
    ASSERT_EQ(map.undo(), EEditResult::Done);
    EXPECT_TRUE(map.canUndo() && map.canRedo());

    sim().withController([](sim::CControllerModel& controller) {
        Bytes image = controller.blocks().image(blockInfo(EBlock::TimeMap1).code);
        image[5 * kMapColumns + 5] = 77;
        controller.blocks().store(blockInfo(EBlock::TimeMap1).code, image);
    });
    ASSERT_TRUE(device.readBlock(EBlock::TimeMap1));
    const Bytes held = simBlock(1);
    sim().transcript().clear();
    EXPECT_EQ(map.undo(), EEditResult::Refused);
    EXPECT_EQ(map.redo(), EEditResult::Refused);
    EXPECT_EQ(sim().transcript().size(), 0u) << transcriptText();
    EXPECT_EQ(simBlock(1), held);
    EXPECT_EQ(m_ui.messages().size(), 2u);
}

// A step goes once: when only its answer is lost the controller has taken it, so the record is
// read back rather than left a step behind the controller.
TEST_F(MapGridAgainstSimulator, AStepWhoseAnswerIsLostLeavesTheRecordWithWhatTheControllerHolds) {
    CLPGDevice& device = connect();
    device.serialPort()->setTimeout({.readTotalConstantMs = 150,
                                     .readTotalPerByteMs = 1,
                                     .writeTotalConstantMs = 150,
                                     .writeTotalPerByteMs = 1});
    fill(1, 2.0);
    CMapTime map(device);
    map.selectRect(3, 3, 3, 3);
    sim().injectNext(sim::FaultKind::Drop);
    EXPECT_EQ(map.incrementSelected(0.1), EEditResult::Failed);
    EXPECT_EQ(simBlock(1)[3 * kMapColumns + 3], 21) << "the controller took the step";
    EXPECT_EQ(recordBlock(1), simBlock(1));
    EXPECT_EQ(map.cellText(3, 3), "2.1");
    ASSERT_EQ(map.incrementSelected(0.1), EEditResult::Done);
    EXPECT_EQ(recordBlock(1), simBlock(1));
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu1[3][3], 2.2);
}

TEST_F(MapGridAgainstSimulator, PasteWritesABlockAndRefusesWhatDoesNotFitOrIsNoNumber) {
    CLPGDevice& device = connect();
    fill(1, 1.0);
    CMapTime map(device);
    map.selectRect(13, 14, 13, 14);
    const std::size_t writes = requests(13).size();
    EXPECT_EQ(map.paste("1.5\t2.5\t3.5\n4\t5\t6\n"), EEditResult::Refused); // past column 14
    EXPECT_EQ(map.paste("1.5\tx\n"), EEditResult::Refused);
    EXPECT_EQ(map.paste("1.5\t25\n"), EEditResult::Refused); // out of range
    EXPECT_EQ(requests(13).size(), writes);

    ASSERT_EQ(map.paste("1,5\t2.5\r\n3\t4\r\n"), EEditResult::Done);
    EXPECT_EQ(device.config().m_mapTimeEmu1[15][14], 4.0);
    EXPECT_EQ(device.config().m_mapTimeEmu1[14][13], 1.5);
    EXPECT_EQ(simBlock(1), recordBlock(1));
    EXPECT_EQ(map.copySelection(), "1.5\t2.5\n3.0\t4.0\n");
}

} // namespace
