// The map grid at half a 1280 × 800 window (640 × 760): repainting all 240 cells with value
// colours, a selection and a live-cursor trail; and one live-cell update (the map's rules, the
// grid's refresh of what changed and the repaint of the changed cells and the fading trail). Aim:
// under 2 ms and 0.5 ms per frame. And the grid repainted with a recording's coverage over it, as
// shades alone and as means in the cells (aim: under 2 ms).
#include "link/lpg_device.h"
#include "maps/map_classes.h"
#include "platform/clock.h"
#include "ui/controls/cell_overlay_layer.h"
#include "ui/pages/maps/map_coverage_overlay.h"
#include "ui/pages/maps/map_grid.h"

#include <QApplication>
#include <QImage>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <cmath>

namespace torva {
namespace {

constexpr QSize kGridSize(640, 760);
constexpr int kRefreshMs = 200; // the main window's refresh tick

// Time that moves one refresh tick per live update, so the trail holds what 3 s of driving leave.
class CTickClock : public IClock {
public:
    CTickClock() { setAppClock(this); }
    ~CTickClock() override { setAppClock(nullptr); }
    std::int64_t nowMs() override { return m_now; }
    void sleepMs(int ms) override { m_now += ms; }
    void tick() { m_now += kRefreshMs; }

private:
    std::int64_t m_now = 0;
};

struct SGridRig {
    CLPGDevice device;
    CCellArray* view = nullptr;
    CMapGrid* grid = nullptr;
    QWidget host;

    SGridRig() {
        device.setDemo(true);
        device.setConnected(true);
        CDeviceConfig& config = device.config();
        for (int r = 0; r < kMapRows; ++r) {
            config.m_mapCoordinatesEmu1[r] = 0.5 + 0.25 * r;
            for (int c = 0; c < kMapColumns; ++c)
                config.m_mapEmu1[r][c] = std::round(60 * std::sin(r * 0.4 + c * 0.3));
        }
        for (int c = 0; c < kMapColumns; ++c)
            config.m_mapRpmCoordinatesEmu1[c] = 1000 + 500 * c;
        view = new CCellArray(&host);
        view->resize(kGridSize);
        grid = new CMapGrid(std::make_unique<CMapEmu1>(device), *view);
        grid->map().selectRect(3, 4, 8, 9);
        // A drive across the map: the last cells the engine passed stay as a trail.
        for (int step = 0; step < 12; ++step)
            grid->refreshLive(1200 + 400 * step, 0.6 + 0.25 * step, true);
    }
};

void BM_RepaintWholeGrid(benchmark::State& state) {
    SGridRig rig;
    QImage image(kGridSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        rig.view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["cells"] = kMapRows * kMapColumns;
}
BENCHMARK(BM_RepaintWholeGrid)->Unit(benchmark::kMillisecond);

// Coverage of a drive that reached most cells, some often.
CMapCoverage driveCoverage() {
    CMapCoverage coverage;
    DiagRecord record{};
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if ((row * 7 + column * 3) % 5 == 0)
                continue; // never reached
            record[recordIndexOfColumn(5)] = 2.0 + 0.1 * row;
            for (int sample = 0; sample < 1 + (row * column) % 40; ++sample)
                coverage.add({column, row}, record);
        }
    }
    return coverage;
}

void BM_RepaintWholeGridWithCoverage(benchmark::State& state) {
    SGridRig rig;
    auto* layer = new CCellOverlayLayer(*rig.view); // the grid owns it
    layer->setOverlay(coverageOverlay(driveCoverage(), static_cast<int>(state.range(0))));
    QImage image(kGridSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        rig.view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintWholeGridWithCoverage)
    ->Arg(kCoverageCounts)
    ->Arg(5) // mean gas injection time in the cells
    ->Unit(benchmark::kMillisecond);

void BM_LiveCellUpdate(benchmark::State& state) {
    CTickClock clock;
    SGridRig rig;
    QImage image(kGridSize, QImage::Format_ARGB32_Premultiplied);
    int tick = 0;
    for (auto _ : state) {
        const int before[2] = {rig.grid->map().m_liveRow, rig.grid->map().m_liveCol};
        ++tick;
        clock.tick();
        rig.grid->refreshLive(1200 + 500 * (tick % 6), 1.0 + 0.25 * (tick % 5), true);
        const CMapArray& map = rig.grid->map();
        // The live cell left, the live cell now, and every trail cell whose fade moved on.
        QRegion changed = QRegion(rig.view->cellRect(before[0], before[1]))
                              .united(rig.view->cellRect(map.m_liveRow, map.m_liveCol));
        for (const STrailCell& left : map.trail())
            changed = changed.united(rig.view->cellRect(left.row, left.column));
        rig.view->render(&image, changed.boundingRect().topLeft(), changed);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_LiveCellUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace torva

// Widgets need an application; without a display they draw offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
