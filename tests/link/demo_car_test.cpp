// The demo car: what a newcomer judges the program by. Its maps must colour every calibration
// page, and its engine must move over them with readings that belong together.
#include "config/axis_definition.h"
#include "config/maps/map_catalogue.h"
#include "diag/diag_sample_values.h"
#include "link/demo_config.h"
#include "link/demo_state.h"
#include "link/device_records.h"
#include "link/lpg_device.h"
#include "maps/map_classes.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace torva {
namespace {

TEST(DemoCar, MapsAreSmoothNonZeroAndInsideTheirRanges) {
    CDeviceConfig config;
    config.m_devInfo.m_deviceID = 25;
    config.m_devInfo.m_serial = "DI001";
    applyDemoConfiguration(config);
    EXPECT_EQ(config.m_devInfo.m_serial, "DI001") << "the identity stays";
    EXPECT_EQ(config.m_base.m_emuEnable, (std::array<std::uint8_t, 4>{1, 1, 1, 1}));
    EXPECT_TRUE(isStrictlyRising(config.m_mapRpmCoordinatesEmu1));

    for (int number = 1; number <= kMapCount; ++number) {
        const SMapInfo& info = mapInfo(number);
        const MapValues& map = mapValues(config, number);
        const LoadAxis& axis = loadAxis(config, info.channel);
        int nonZero = 0;
        for (int row = 0; row < kMapRows; ++row) {
            if (row > 0) {
                EXPECT_GT(axis[row], axis[row - 1]) << "map " << number << " row " << row;
            }
            for (int column = 0; column < kMapColumns; ++column) {
                const double value = map[row][column];
                EXPECT_GE(value, info.valueMin) << "map " << number;
                EXPECT_LE(value, info.valueMax) << "map " << number;
                EXPECT_DOUBLE_EQ(value, toWireResolution(info.kind, value))
                    << "a value the controller holds as it stands";
                nonZero += value != 0 ? 1 : 0;
                // Smooth: no neighbour more than a tenth of the range away.
                const double limit = (info.valueMax - info.valueMin) / 10;
                if (row > 0) {
                    EXPECT_LE(std::abs(value - map[row - 1][column]), limit) << "map " << number;
                }
                if (column > 0) {
                    EXPECT_LE(std::abs(value - map[row][column - 1]), limit) << "map " << number;
                }
            }
        }
        EXPECT_EQ(nonZero, kMapRows * kMapColumns) << "map " << number << " colours every cell";
    }
}

// A minute of demo driving read as the polling thread reads it, 150 ms apart on a fake clock.
class DemoDrive : public ::testing::Test {
protected:
    void SetUp() override {
        m_device.startDemo();
        setDemoFuelMode(kFuelModeGas);
    }
    void TearDown() override { setDemoFuelMode(kFuelModeDiesel); }

    std::vector<DiagSample> driveFor(int seconds) {
        std::vector<DiagSample> samples;
        for (int ms = 0; ms < seconds * 1000; ms += 150) {
            DiagSample sample{};
            EXPECT_TRUE(m_device.readLiveSample(sample));
            samples.push_back(sample);
            m_clock.advance(150);
        }
        return samples;
    }

    test::CFakeClock m_clock;
    CLPGDevice m_device;
};

TEST_F(DemoDrive, TheLiveCellVisitsManyCellsInAMinute) {
    CMapTime grid(m_device); // the MAP sensor page's grid and its own live-cell rule
    std::set<std::pair<int, int>> visited;
    for (const DiagSample& sample : driveFor(60)) {
        const SLiveValues live = liveValues(sample, m_device.config());
        visited.insert(grid.findCell(live.rpm, live.signal[0]));
    }
    EXPECT_GE(visited.size(), 20u);
}

TEST_F(DemoDrive, ReadingsMoveTogetherAndShowNoFault) {
    const std::vector<DiagSample> samples = driveFor(60);
    std::vector<SLiveValues> live;
    for (const DiagSample& sample : samples)
        live.push_back(liveValues(sample, m_device.config()));
    const auto [slowest, fastest] = std::minmax_element(
        live.begin(), live.end(), [](const auto& a, const auto& b) { return a.rpm < b.rpm; });
    EXPECT_LT(slowest->rpm, 900) << "it idles";
    EXPECT_GT(fastest->rpm, 3000) << "it revs";
    // Load, injection and exhaust rise with the engine's effort.
    EXPECT_GT(fastest->signal[0], slowest->signal[0]);
    EXPECT_GT(fastest->gasInjTimeMs, slowest->gasInjTimeMs);
    EXPECT_GT(fastest->crInjTimeMs, slowest->crInjTimeMs);
    EXPECT_GT(live.back().reducerTemperature, live.front().reducerTemperature + 10)
        << "the engine warms after its start";
    for (const SLiveValues& values : live) {
        EXPECT_GT(values.gasInjTimeMs, 0) << "on gas";
        EXPECT_LT(values.signal[1], values.signal[0]) << "the MAP emulation pulls the signal down";
        EXPECT_GT(values.supplyVolts, m_device.config().m_base.m_minVCC);
        EXPECT_LT(values.exhaustTemperature, m_device.config().m_base.m_maxExhaustTemp);
    }
    ErrorStatus status{1, 1, 1, 1};
    ASSERT_TRUE(m_device.readErrorStatus(status));
    EXPECT_EQ(status, ErrorStatus{}) << "no fault it does not simulate";
}

} // namespace
} // namespace torva
