// The fuel level sensor: recognising the type from stored thresholds, the type choice, and the
// calibration from a live reading of a simulated controller.
#include "settings_sim_rig.h"

#include "config/block_codec.h"
#include "ui/pages/sensors/fuel_sensor_actions.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"
#include "ui/pages/settings/settings_actions.h"

using namespace torva;
using Requests = std::vector<std::string>;

namespace {

CDeviceConfig storedSensor(SFuelThresholds thresholds, std::uint8_t fuelRes) {
    CDeviceConfig config;
    config.m_devInfo.m_version = 303;
    setFuelThresholds(config.m_sensorsSetup, thresholds);
    config.m_sensorsSetup.m_fuelRes = fuelRes;
    return config;
}

} // namespace

TEST(FuelSensorRules, EveryPresetIsRecognisedAndUnknownThresholdsFallBackOnTheClass) {
    for (const int type : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 21, 22, 23, 24}) {
        CDeviceConfig config;
        config.m_devInfo.m_version = 303;
        applyFuelSensorType(config, type);
        EXPECT_EQ(recogniseFuelSensor(config), type) << "type " << type;
    }
    EXPECT_EQ(recogniseFuelSensor(storedSensor({1, 2, 3, 4}, 1)), 1);
    EXPECT_EQ(recogniseFuelSensor(storedSensor({1, 2, 3, 4}, 0)), 4);
    EXPECT_EQ(recogniseFuelSensor(storedSensor({1, 2, 3, 4}, 2)), 10);
    // The class decides over a row of another class.
    EXPECT_EQ(recogniseFuelSensor(storedSensor({80, 60, 40, 20}, 2)), 10);
}

TEST(FuelSensorRules, PresetsSetTheDirectionAndTheLevelReadsThroughIt) {
    CDeviceConfig config;
    applyFuelSensorType(config, 0); // CPP: rising thresholds
    EXPECT_EQ(fuelThresholds(config.m_sensorsSetup), (SFuelThresholds{90, 150, 195, 238}));
    EXPECT_EQ(config.m_sensorsSetup.m_fuelType, 1);
    EXPECT_EQ(fuelLevelPercent(80, config.m_sensorsSetup), 80);
    EXPECT_EQ(fuelLevelPercent(240, config.m_sensorsSetup), 5);
    applyFuelSensorType(config, 11);
    EXPECT_EQ(config.m_sensorsSetup.m_fuelType, 0);
    EXPECT_EQ(fuelLevelPercent(50, config.m_sensorsSetup), 40);

    EXPECT_EQ(fuelMinimumFromLevel({200, 0, 0, 0}, 50), (SFuelThresholds{200, 150, 100, 50}));
    EXPECT_EQ(fuelMaximumFromLevel({0, 0, 0, 50}, 200), (SFuelThresholds{200, 150, 100, 50}));
    EXPECT_EQ(fuelValueText(50, 13), "40.0");
    EXPECT_EQ(steppedLitres(0, -1), 150); // a step down from 0 wraps to the top
}

TEST(FuelSensorRules, TheVirtualSensorExistsFrom287Only) {
    const auto offers = [](std::int32_t version) {
        return fuelSensorTypeList(version).indexOf(fuel_sensor::kVirtual).has_value();
    };
    EXPECT_FALSE(offers(286));
    EXPECT_TRUE(offers(287));

    CDeviceConfig config;
    config.m_devInfo.m_version = 286;
    config.m_tempomatSetup.m_tempomatFlags = 0x10;
    applyFuelSensorType(config, 0);
    EXPECT_EQ(config.m_tempomatSetup.m_tempomatFlags, 0x10) << "not this firmware's flag";
    EXPECT_NE(recogniseFuelSensor(config), fuel_sensor::kVirtual);
    config.m_devInfo.m_version = 287;
    applyFuelSensorType(config, 0);
    EXPECT_EQ(config.m_tempomatSetup.m_tempomatFlags, 0);
}

class FuelSensorSim : public test::CSettingsSimTest {};

TEST_F(FuelSensorSim, MinimumAndMaximumComeFromALiveReading) {
    connect();
    CFuelSensorActions actions(*m_device, m_ui);
    DiagSample sample{};
    ASSERT_TRUE(m_device->readLiveSample(sample));
    const std::uint8_t level = sample.m_fuelLevelRaw;
    sim().transcript().clear();

    ASSERT_EQ(actions.setMinimum(), level);
    const SSensorsSetup& sensors = m_device->config().m_sensorsSetup;
    EXPECT_EQ(sensors.m_fuelQuarter, level);
    EXPECT_EQ(sim().blockImage(9), encodeBlock(EBlock::Sensors, m_device->config()));
    ASSERT_EQ(actions.setMaximum(), level);
    EXPECT_EQ(sensors.m_fuelFull, level);
    EXPECT_EQ(requests(), (Requests{"2/6", "9", "2/6", "9"}));

    m_device->setConnected(false);
    EXPECT_FALSE(actions.setMinimum());
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(FuelSensorSim, TheSettingsPageTypeChoiceWritesTheVirtualFlagOnlyWhereItExists) {
    sim::SimConfig older;
    older.controller.identity.version = 286;
    connect(older);
    CSettingsActions settings(*m_device, m_ui, {});
    EXPECT_TRUE(settings.selectFuelSensorType(0));
    EXPECT_EQ(requests(), (Requests{"9"}));
    EXPECT_EQ(sim().blockImage(9), encodeBlock(EBlock::Sensors, m_device->config()));
}

TEST_F(FuelSensorSim, TheVirtualSensorIsStoredInTheTempomatBlock) {
    connect();
    EXPECT_TRUE(CFuelSensorActions(*m_device, m_ui).selectType(fuel_sensor::kVirtual));
    EXPECT_EQ(requests(), (Requests{"9", "40"}));
    EXPECT_EQ(sim().blockImage(40), encodeBlock(EBlock::Tempomat, m_device->config()));
    EXPECT_EQ(recogniseFuelSensor(m_device->config()), fuel_sensor::kVirtual);
}
