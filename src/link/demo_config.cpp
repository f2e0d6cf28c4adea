#include "link/demo_config.h"

#include "config/axis_definition.h"
#include "config/device_config.h"
#include "config/maps/map_catalogue.h"
#include "config/rounding.h"

#include <algorithm>
#include <cmath>

namespace torva {

namespace {

// m_tempomatSetup.m_tempomatFlags: injection control by the common-rail injector signal.
constexpr std::uint16_t kCrInjectorSignal = 0x80;

// How each map rises over the load rows and the RPM columns, as a tuned map does: the time map
// grows with load and a little with speed; the emulation map pulls the signal down further the
// harder the engine works, so the engine's ECU adds less diesel.
struct SMapShape {
    double atIdle;     // value at the first row and column
    double atFullLoad; // value at the last row and column
    double loadPower;  // > 1: the value rises late in the load range
};

constexpr SMapShape kTimeShapes[] = {
    {1.2, 8.6, 1.3}, // channel 1, MAP sensor
    {1.1, 7.8, 1.4}, // channel 2, MAF
    {1.0, 8.2, 1.5}, // channel 3, TPS 1
    {1.0, 8.2, 1.5}, // channel 4, TPS 2
    {0.9, 7.5, 1.5}, // digital TPS
};
constexpr SMapShape kEmulationShapes[] = {
    {-3, -28, 1.5}, {-2, -22, 1.5}, {-2, -16, 1.6}, {-2, -16, 1.6}, {-2, -12, 1.6},
};

void fillMap(MapValues& map, const SMapShape& shape, EMapKind kind) {
    for (int row = 0; row < kMapRows; ++row) {
        const double load = std::pow(row / double(kMapRows - 1), shape.loadPower);
        for (int column = 0; column < kMapColumns; ++column) {
            const double speed = column / double(kMapColumns - 1);
            const double share = load * (0.7 + 0.3 * speed);
            const double value = shape.atIdle + (shape.atFullLoad - shape.atIdle) * share;
            map[row][column] = kind == EMapKind::Time ? round1(value) : round0(value);
        }
    }
}

} // namespace

void applyDemoConfiguration(CDeviceConfig& config) {
    const SDevInfo identity = config.m_devInfo;
    config.setDefaults(identity.m_deviceID);
    config.m_devInfo = identity;

    config.m_base.m_emuEnable = {1, 1, 1, 1};
    config.m_base.m_flags &= static_cast<std::uint8_t>(~kCoupledTpsFlag);
    // The gas injectors follow the common-rail injectors' signal, as on most diesel cars: the
    // readings then show those injectors' ON time and the speed they give.
    config.m_tempomatSetup.m_tempomatFlags |= kCrInjectorSignal;

    // Axes over the signals the demo engine gives: MAP sensor 0.9-4.2 V, MAF 1.0-4.3 V, pedal
    // tracks 0.6-4.2 V and half that, the digital pedal 10-85 %.
    config.m_mapRpmCoordinatesEmu1 = generateRpmAxis(800, 4300);
    config.m_mapCoordinatesEmu1 = generateLoadAxis(0.8, 4.4, EAxisScale::Uniform, false);
    config.m_mapCoordinatesEmu2 = generateLoadAxis(1.0, 4.5, EAxisScale::Uniform, false);
    config.m_mapCoordinatesEmu3 = generateLoadAxis(0.6, 4.2, EAxisScale::Uniform, false);
    config.m_mapCoordinatesEmu4 = generateLoadAxis(0.3, 2.1, EAxisScale::Uniform, false);
    config.m_mapCoordinatesEmuTpsD = generateLoadAxis(10, 85, EAxisScale::Uniform, true);

    for (int number = 1; number <= kMapCount; ++number) {
        const SMapInfo& info = mapInfo(number);
        const auto& shapes = info.kind == EMapKind::Time ? kTimeShapes : kEmulationShapes;
        fillMap(mapValues(config, number), shapes[info.channel - 1], info.kind);
    }
}

} // namespace torva
