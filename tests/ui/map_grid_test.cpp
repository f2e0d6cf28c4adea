// A test page with a channel's time and emulation grids, driven by mouse and keyboard against
// the controller simulator, the way the calibration pages will host them.
#include "fixture/device_sim_fixture.h"

#include "config/block_codec.h"
#include "config/process_state_guard.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "maps/map_classes.h"
#include "ui/pages/maps/map_grid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace torva;

namespace {

// Channel 1's two grids side by side with the page's key routing: L/R choose the grid, the
// active grid's Ctrl+Up/Down step also moves the other by the coupling, arrows move both
// selections.
class CMapTestPage : public QWidget {
public:
    CMapTestPage(CLPGDevice& device, double emuPerPercent)
        : m_edit(device), m_emuPerPercent(emuPerPercent) {
        auto* layout = new QHBoxLayout(this);
        auto* timeView = new CCellArray;
        auto* emuView = new CCellArray;
        layout->addWidget(timeView);
        layout->addWidget(emuView);
        m_time = new CMapGrid(std::make_unique<CMapTime>(device), *timeView, &m_edit);
        m_emu = new CMapGrid(std::make_unique<CMapEmu1>(device), *emuView);
        for (CMapGrid* grid : {m_time, m_emu}) {
            grid->view().setKeyHandler([this](QKeyEvent* event) { return routeKey(event); });
            connect(&grid->view(), &CCellArray::cellDragged, this, [this] { mirrorSelection(); });
            connect(&grid->view(), &CCellArray::cellPressed, this, [this] { mirrorSelection(); });
        }
    }

    CMapGrid& time() { return *m_time; }
    CMapGrid& emu() { return *m_emu; }
    CMapGrid& active() { return m_emu->view().hasFocus() ? *m_emu : *m_time; }
    CMapGrid& passive() { return &active() == m_emu ? *m_time : *m_emu; }

private:
    bool routeKey(QKeyEvent* event) {
        if (event->key() == Qt::Key_L || event->key() == Qt::Key_R) {
            (event->key() == Qt::Key_L ? m_time : m_emu)->view().setFocus();
            return true;
        }
        const bool control = event->modifiers() & Qt::ControlModifier;
        if (control && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
            const double sign = event->key() == Qt::Key_Up ? 1 : -1;
            active().map().incrementSelected(sign * active().step());
            if (m_emuPerPercent != 0 && &active() == m_emu)
                passive().map().incrementSelected(-sign * m_emuPerPercent * active().step());
            return true;
        }
        const bool handled = active().handleKey(event);
        mirrorSelection();
        return handled;
    }

    void mirrorSelection() {
        const SCellSelection s = active().map().getSelection();
        passive().map().clearSelection();
        if (s.any)
            passive().map().selectRect(s.firstColumn, s.firstRow, s.lastColumn, s.lastRow);
    }

    CMapEditEmu1 m_edit;
    double m_emuPerPercent;
    CMapGrid* m_time = nullptr;
    CMapGrid* m_emu = nullptr;
};

class MapGridPage : public test::CDeviceSimFixture {
protected:
    QPoint centreOf(CCellArray& view, int row, int column) {
        return view.cellRect(row, column).center();
    }

    test::CProcessStateGuard m_processState;
};

TEST_F(MapGridPage, MouseKeysAndCouplingReachTheSimulatorAndTheGridShowsThem) {
    CLPGDevice& device = connect();
    ASSERT_TRUE(writeMapImage(device, 1, MapValues{}));
    ASSERT_TRUE(writeMapImage(device, 2, MapValues{}));
    CMapTestPage page(device, 0.5);
    page.resize(1280, 800);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.time().refresh();
    page.emu().refresh();
    CCellArray& emuView = page.emu().view();

    // Drag over rows 2-3, columns 4-5 of the emulation grid; the time grid follows.
    QTest::mousePress(&emuView, Qt::LeftButton, {}, centreOf(emuView, 2, 4));
    QMouseEvent move(QEvent::MouseMove, centreOf(emuView, 3, 5),
                     emuView.mapToGlobal(centreOf(emuView, 3, 5)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&emuView, &move);
    QTest::mouseRelease(&emuView, Qt::LeftButton, {}, centreOf(emuView, 3, 5));
    EXPECT_TRUE(page.time().map().isSelected(5, 3));
    EXPECT_EQ(emuView.cell(2, 4).bkColor(), QColor(255, 255, 255));
    EXPECT_EQ(emuView.rowHeader(0).isEmpty(), false);

    // Ctrl+Up twice: emulation +2 %, time -1.0 ms refused below 0 (the grid takes no
    // negative times), so only the emulation map moves; then lower the emulation again.
    QTest::keyClick(&emuView, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&emuView, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(device.config().m_mapEmu1[3][5], 2);
    EXPECT_EQ(emuView.cell(3, 5).getTxt(), "2");
    EXPECT_EQ(emuView.cell(3, 5).bkColor(), QColor(255, 245, 245));
    EXPECT_EQ(sim().blockImage(blockInfo(EBlock::EmuMap1).code),
              encodeBlock(EBlock::EmuMap1, device.config()));

    // Raise the time cells first, then the coupled step lowers them by 0.5 ms.
    QTest::keyClick(&emuView, Qt::Key_L);
    for (int click = 0; click < 10; ++click)
        QTest::keyClick(&page.time().view(), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&page.time().view(), Qt::Key_R);
    QTest::keyClick(&emuView, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu1[2][4], 0.5);
    EXPECT_EQ(sim().blockImage(blockInfo(EBlock::TimeMap1).code),
              encodeBlock(EBlock::TimeMap1, device.config()));

    // Ctrl+Z on the time grid undoes its last step with a whole-map write.
    QTest::keyClick(&emuView, Qt::Key_L);
    QTest::keyClick(&page.time().view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu1[2][4], 1.0);

    // No live cell before the first live point; then it moves through three cells and the two
    // it left stay tinted as a trail.
    EXPECT_FALSE(page.time().view().cell(0, 0).isCurrent());
    for (const double rpm : {1200.0, 1500.0, 1800.0})
        page.time().refreshLive(rpm, device.config().m_mapCoordinatesEmu1[6], true);
    const CMapArray& time = page.time().map();
    EXPECT_TRUE(page.time().view().cell(time.m_liveRow, time.m_liveCol).isCurrent());
    EXPECT_EQ(time.trail().size(), 2u);
    EXPECT_GT(page.time().view().cell(time.m_liveRow, time.m_liveCol - 1).trail(), 0);

    // The focused grid's headers turn green.
    EXPECT_TRUE(page.time().view().hasFocus());
    const QImage shot = page.grab().toImage();
    const QPoint header = page.time().view().mapTo(
        &page, page.time().view().cellRect(-1, 3).topLeft() + QPoint(3, 3));
    EXPECT_EQ(shot.pixelColor(header), CCellArray::focusHeaderColor());
    if (const QByteArray folder = qgetenv("TORVA_SCREENSHOT_DIR"); !folder.isEmpty())
        shot.save(QString::fromUtf8(folder) + "/map_grid_page.png");
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

TEST_F(MapGridPage, HeaderEditorShowsTheStoredValue) {
    CLPGDevice& device = connect();
    CMapTestPage page(device, 0);
    page.resize(900, 500);
    page.show();
    CCellArray& view = page.time().view();
    const double before = device.config().m_mapCoordinatesEmu1[5];
    QTest::mouseDClick(&view, Qt::LeftButton, {}, view.cellRect(5, -1).center());
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    editor->setText("abc");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(view.rowHeader(5), QString::asprintf("%.2f", before));
    EXPECT_EQ(device.config().m_mapCoordinatesEmu1[5], before);
}

} // namespace
