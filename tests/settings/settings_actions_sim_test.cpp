// The settings page's handler sequences: the frames each sends to a simulated controller.
#include "settings_sim_rig.h"

#include "config/block_codec.h"
#include "ui/pages/settings/settings_actions.h"
#include "ui/pages/settings/settings_options.h"

using namespace torva;
using Requests = std::vector<std::string>;

namespace {

class SettingsActions : public test::CSettingsSimTest {
protected:
    CSettingsActions& actions(sim::SimConfig config = {}) {
        connect(std::move(config));
        m_actions = std::make_unique<CSettingsActions>(
            *m_device, m_ui, [this](ESettingsRefresh what) { m_refreshes.push_back(what); });
        return *m_actions;
    }

    std::unique_ptr<CSettingsActions> m_actions;
    std::vector<ESettingsRefresh> m_refreshes;
};

} // namespace

TEST_F(SettingsActions, FuelTypeGoesThroughDieselResetAndBackToAutomatic) {
    sim::SimConfig config;
    config.controller.initialMode = sim::mode::kGas;
    CSettingsActions& settings = actions(config);
    DiagSample onGas{};
    onGas.m_fuelMode = kFuelModeGas;
    m_device->diagData().push(onGas);

    EXPECT_TRUE(settings.selectFuelType(1));
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6", "3", "2/10", "2/2", "2/3"}));
    EXPECT_TRUE(m_device->config().isCng());
    EXPECT_EQ(sim().blockImage(3), encodeBlock(EBlock::Base, m_device->config()));
    EXPECT_EQ(m_refreshes, std::vector{ESettingsRefresh::Page});
}

TEST_F(SettingsActions, AFailedDieselSwitchStopsWithItsMessageAndLeavesTheModel) {
    sim::SimConfig config;
    config.controller.initialMode = sim::mode::kGas;
    config.controller.modeDelayMs = 600000; // the controller never reaches diesel
    CSettingsActions& settings = actions(config);
    const CDeviceConfig before = m_device->config();

    EXPECT_FALSE(settings.selectInjectionControl(128));
    EXPECT_FALSE(settings.selectPressureType(0));
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6", "2/2", "2/6"}));
    EXPECT_EQ(m_device->config(), before);
    ASSERT_EQ(m_ui.messages().size(), 2u);
    EXPECT_EQ(m_ui.messages()[0].text, "Nie powiodło się przełączenie na diesla!");
}

TEST_F(SettingsActions, TpsTypeWritesAxisServiceTempomatAndResets) {
    CSettingsActions& settings = actions();
    m_device->config().m_tempomatSetup.m_tpsAnalogDetect = 2.5;

    EXPECT_TRUE(settings.selectTpsType(static_cast<int>(ETpsType::External)));
    EXPECT_EQ(requests(), (Requests{"31", "33", "40", "2/10"}));
    EXPECT_EQ(m_refreshes, (std::vector{ESettingsRefresh::AllPages, ESettingsRefresh::ActivePage}));
    EXPECT_EQ(m_device->config().m_tempomatSetup.m_tpsAnalogDetect, 0);
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(SettingsActions, FirmwareWithoutTheTempomatBlockIsNotSentOne) {
    sim::SimConfig config;
    config.controller.identity.version = 265;
    CSettingsActions& settings = actions(config);

    EXPECT_TRUE(settings.selectTpsType(static_cast<int>(ETpsType::Analog)));
    settings.setTempomat(true);
    EXPECT_EQ(requests(), (Requests{"31", "33", "2/10", "3"}));
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(SettingsActions, SensorAndInjectorCombosWriteOnlyWhatChanged) {
    sim::SimConfig config;
    config.controller.identity.version = 265; // no tempomat write for the gas sensor yet
    CSettingsActions& settings = actions(config);
    const int sensor = m_device->config().m_sensorsSetup.m_temprLPGSensor;
    const int injector = m_device->config().m_adv.m_injectorType;

    EXPECT_TRUE(settings.selectGasTemperatureSensor(sensor));
    EXPECT_TRUE(settings.selectInjectorType(injector));
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(settings.selectGasTemperatureSensor(sensor == 3 ? 2 : 3));
    EXPECT_EQ(requests(), (Requests{"3", "4", "9"}));

    m_device->setConnected(false);
    EXPECT_FALSE(settings.selectInjectorType(18));
    EXPECT_TRUE(settings.stepSpin(ESettingsSpin::SwitchTempr, +1)); // model only
    EXPECT_EQ(requests(), (Requests{"3", "4", "9"}));
}
