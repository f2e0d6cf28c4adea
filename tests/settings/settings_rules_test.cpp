// The settings page's rules and the TPS tools' pure parts.
#include "config/device_config.h"
#include "ui/pages/settings/injector_presets.h"
#include "ui/pages/settings/settings_changes.h"
#include "ui/pages/settings/settings_combos.h"
#include "ui/pages/settings/settings_options.h"
#include "ui/pages/settings/settings_spins.h"
#include "ui/pages/settings/settings_visibility.h"
#include "ui/pages/settings/tps_calibration.h"
#include "ui/pages/tps/sequence_capture.h"
#include "ui/pages/tps/tps_correlation_points.h"

#include <gtest/gtest.h>

using namespace torva;

namespace {

CDeviceConfig controller(std::uint8_t deviceType, std::int32_t version) {
    CDeviceConfig config(deviceType);
    config.m_devInfo.m_deviceID = deviceType;
    config.m_devInfo.m_version = version;
    return config;
}

// Clicks until the field stops changing; returns the last value.
double stepToEnd(ESettingsSpin spin, CDeviceConfig& config, int direction) {
    for (int i = 0; i < 10000 && stepSpin(spin, config, direction); ++i) {
    }
    return spinValue(spin, config);
}

} // namespace

TEST(SettingsSpins, RefusedRowsStayPutAndClampedRowsStopAtTheTypesLimit) {
    CDeviceConfig config = controller(25, 300);
    config.m_base.m_torvaDivider = 200;
    EXPECT_FALSE(stepSpin(ESettingsSpin::TorvaDivider, config, +1));
    config.m_base.m_switchRPM = 3990; // 3990 + 20 is out: refused, not clamped to 4000
    EXPECT_FALSE(stepSpin(ESettingsSpin::SwitchRpm, config, +1));
    EXPECT_EQ(config.m_base.m_switchRPM, 3990);

    config.m_base.m_minVCC = 18.05;
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::MinVcc, config, -1), 18.0);
    CDeviceConfig type3 = controller(3, 300);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::Pwm, type3, +1), 50);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::Pwm, config, +1), 40);
    EXPECT_EQ(formatSpinValue(ESettingsSpin::MinVcc, config), "18.0");

    // Hundredths do not drift over many clicks.
    config.m_serviceSetup.m_crInjCutOffTime = 0;
    for (int i = 0; i < 300; ++i)
        stepSpin(ESettingsSpin::CrInjCutOffTime, config, +1);
    EXPECT_EQ(formatSpinValue(ESettingsSpin::CrInjCutOffTime, config), "3.00");
}

TEST(SettingsSpins, PressureRangesKeepToWhatTheFirmwaresByteHolds) {
    CDeviceConfig old = controller(25, 270);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::PressureRef, old, +1), 2.40);
    CDeviceConfig current = controller(25, 271);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::PressureRef, current, +1), 3.50);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::SwitchPressure, current, -1), 0.03);
    EXPECT_DOUBLE_EQ(stepToEnd(ESettingsSpin::SwitchPressure, old, -1), 0.0);
    EXPECT_EQ(formatSpinValue(ESettingsSpin::SwitchPressure, current), "0.03");
}

TEST(SettingsSpins, TpsFieldsFollowTheTpsType) {
    CDeviceConfig config = controller(25, 300);
    applyTpsType(config, ETpsType::Digital);
    EXPECT_EQ(spinRule(ESettingsSpin::TpsCutOff, config).block, EBlock::Tempomat);
    stepSpin(ESettingsSpin::TpsCutOff, config, +1);
    EXPECT_EQ(config.m_tempomatSetup.m_tpsDigitCutOff, 1);

    config.m_tempomatSetup.m_tpsAnalogDetect = 50;
    applyTpsType(config, ETpsType::External);
    EXPECT_EQ(spinRule(ESettingsSpin::TpsCutOff, config).block, EBlock::Service);
    EXPECT_EQ(config.m_mapCoordinatesEmu3[1], 6); // 6.25 rounded
    EXPECT_EQ(config.m_mapCoordinatesEmu3[15], 100);
    config.m_tempomatSetup.m_tpsAnalogDetect = 50; // 50 counts
    applyTpsType(config, ETpsType::Analog);
    // The threshold is reset with the cut-off instead of turning into 50 V.
    EXPECT_EQ(config.m_tempomatSetup.m_tpsAnalogDetect, 0);
    EXPECT_EQ(formatSpinValue(ESettingsSpin::TpsDetect, config), "0.00");
    EXPECT_DOUBLE_EQ(config.m_mapCoordinatesEmu3[1], 0.31);
}

TEST(SettingsOptions, ListsFollowTheControllerAndInjectionControlBits) {
    EXPECT_EQ(optionIndex(fuelSensorOptions(286), kVirtualFuelSensor), -1);
    EXPECT_EQ(optionIndex(fuelSensorOptions(287), kVirtualFuelSensor), 4);
    EXPECT_EQ(mountedInjectorOptions(37, 4).back().text, "2 x 4");
    EXPECT_EQ(mountedInjectorOptions(25, 4).back().text, "4");

    EXPECT_EQ(withInjectionControl(0xFF, 128), 0xFF & ~0x22);
    EXPECT_EQ(withInjectionControl(0x80, 2), 0x02);
    EXPECT_EQ(injectionControlValue(0x22), 2);
    EXPECT_EQ(injectionControlValue(0xA0), 32);
}

TEST(SettingsOptions, EveryChoiceReadsBackAsTheSelectedValue) {
    CDeviceConfig config = controller(25, 300);
    applyFuelType(config, fuelTypeOptions()[5].value); // "CNG"
    applyPressureType(config, 0);
    applyInjectionControl(config, 32);
    applyTpsType(config, ETpsType::External);
    EXPECT_EQ(comboValue(ESettingsCombo::FuelType, config), 1);
    EXPECT_EQ(comboValue(ESettingsCombo::PressureSensor, config), 0);
    EXPECT_EQ(comboValue(ESettingsCombo::InjectionControl, config), 32);
    EXPECT_EQ(comboValue(ESettingsCombo::TpsType, config), 2);
    applyFuelType(config, fuelTypeOptions()[1].value); // "GPL"
    EXPECT_EQ(comboValue(ESettingsCombo::FuelType, config), 0);
}

TEST(SettingsOptions, InjectorPresetsByTypeAndDevice) {
    EXPECT_EQ(injectorPreset(14, 3), (SInjectorPreset{25, 4.0, 2.0}));
    EXPECT_EQ(injectorPreset(26, 40), (SInjectorPreset{30, 3.0, 1.5}));
    EXPECT_EQ(injectorPreset(32, 3), (SInjectorPreset{25, 3.0, 1.0}));
    EXPECT_EQ(injectorPreset(99, 3), (SInjectorPreset{30, 3.5, 1.0}));
    EXPECT_EQ(injectorPreset(14, 37), (SInjectorPreset{25, 2.0, 1.0}));
}

TEST(SettingsVisibility, EachVersionEdgeByDeviceType) {
    struct Edge {
        std::uint8_t type;
        std::int32_t version;
        bool SSettingsVisibility::*row;
    };
    const Edge edges[] = {
        {25, 264, &SSettingsVisibility::maxRpmOnGas},
        {40, 270, &SSettingsVisibility::mapAveraging},
        {37, 275, &SSettingsVisibility::injectionSequence},
        {3, 274, &SSettingsVisibility::workMachines},
        {25, 285, &SSettingsVisibility::workMachines},
        {3, 300, &SSettingsVisibility::minGasTempr},
    };
    for (const Edge& edge : edges) {
        SCOPED_TRACE(std::to_string(edge.type) + " v" + std::to_string(edge.version));
        EXPECT_FALSE(settingsVisibility(controller(edge.type, edge.version - 1)).*edge.row);
        EXPECT_TRUE(settingsVisibility(controller(edge.type, edge.version)).*edge.row);
    }
    const SSettingsVisibility type3 = settingsVisibility(controller(3, 300));
    EXPECT_TRUE(type3.rpmSignalType && type3.mapAveraging);
    EXPECT_FALSE(type3.rpmThreshold || type3.injectionSequence);

    CDeviceConfig digital = controller(25, 300);
    applyTpsType(digital, ETpsType::Digital);
    applyTempomat(digital, true, true);
    const SSettingsVisibility shown = settingsVisibility(digital);
    EXPECT_FALSE(shown.tpsDouble || shown.tpsEmulator1 || shown.mafEmulator);
    EXPECT_TRUE(shown.digitalTpsEmulator && shown.rpmThreshold);
    CDeviceConfig twin = controller(40, 300);
    applyTpsDouble(twin, true);
    EXPECT_FALSE(settingsVisibility(twin).tpsEmulator2);
}

TEST(TpsCalibrationMath, AxisAndCorrelationLine) {
    const LoadAxis axis = tpsCalibrationAxis(0.5, 4.5, false);
    EXPECT_DOUBLE_EQ(axis[1], 0.75);
    EXPECT_DOUBLE_EQ(axis[14], 4.0);
    EXPECT_DOUBLE_EQ(axis[15], 4.5);
    EXPECT_DOUBLE_EQ(tpsCalibrationAxis(10, 90, true)[1], 15); // 15.0
    EXPECT_DOUBLE_EQ(tpsCalibrationAxis(10, 91, true)[1], 15); // 15.06 -> 15

    EXPECT_FALSE(tpsCorrelationLine(300, 100, 300, 900)); // pedal not moved
    EXPECT_FALSE(tpsCorrelationLine(800, 100, 300, 900)); // inverted
    const auto line = tpsCorrelationLine(100, 50, 900, 850);
    ASSERT_TRUE(line);
    EXPECT_EQ((*line)[100], 50);
    EXPECT_EQ((*line)[500], 450);
    EXPECT_EQ((*line)[0], 0); // -50 floors at 0
    const auto steep = tpsCorrelationLine(0, 0, 1, 60000);
    EXPECT_EQ((*steep)[1023], 65535); // clamped, not wrapped
}

TEST(SequenceCapture, EdgeTimesRunOnAcrossTheCounterWrap) {
    CapturePages pages{};
    pages[0].rpmEdges[0] = 65000;
    pages[0].rpmEdges[1] = 464; // 1000 counts later, across the wrap
    pages[0].rpmEdges[2] = 1464;
    pages[0].camshaftEdges[0] = 100;
    pages[0].camshaftEdges[1] = 100; // no step
    const auto edges = absoluteEdgeTimes(pages);
    ASSERT_EQ(edges.size(), 192u);
    EXPECT_DOUBLE_EQ(edges[0].rpmMs, 130.0);
    EXPECT_DOUBLE_EQ(edges[1].rpmMs, 132.0);
    EXPECT_DOUBLE_EQ(edges[2].rpmMs, 134.0);
    EXPECT_DOUBLE_EQ(edges[1].camshaftMs, 0.2);
    for (std::size_t i = 1; i < edges.size(); ++i)
        ASSERT_GE(edges[i].rpmMs, edges[i - 1].rpmMs) << i;

    const SSequencePulses pulses = sequencePulses(edges);
    EXPECT_EQ(pulses.rpm[1].x, 2600); // 130 ms in 0.05 ms units
    EXPECT_EQ(pulses.rpm[2].x, 2620); // half the first 2 ms period later
}

TEST(TpsCorrelationPoints, KeepsTheMostRecentPoints) {
    CDeviceConfig config = controller(25, 300);
    config.m_tempomatSetup.m_tempomatFlags = 0x08;
    CTpsCorrelationPoints points;
    DiagSample sample{};
    for (std::uint16_t i = 0; i < 3000; ++i) {
        sample.m_signal[4] = i;
        points.add(sample, config);
    }
    EXPECT_EQ(points.points().size(), CTpsCorrelationPoints::kMaxPoints);
    const auto& kept = points.points();
    EXPECT_DOUBLE_EQ(kept[kept.size() - 2].x, 299.9); // tenths with the raw-TPS flag
    EXPECT_DOUBLE_EQ(kept.front().x, 50.0);           // sample 500's pair is the oldest kept
}
