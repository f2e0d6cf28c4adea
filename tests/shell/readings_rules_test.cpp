// The readings page's rules on known samples, without a window.
#include "config/device_config.h"
#include "ui/pages/readings/readings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace torva {
namespace {

DiagSample sampleWith(std::uint16_t rpmPeriod, std::uint16_t auxPeriod) {
    DiagSample sample{};
    sample.m_rpmPeriod = rpmPeriod;
    sample.m_auxRpmPeriod = auxPeriod;
    sample.m_fuelMode = kFuelModeDiesel;
    return sample;
}

TEST(ReadingsGauges, SpeedsAndInjectorTimeFollowTheTempomatFlags) {
    CDeviceConfig config;
    DiagSample sample = sampleWith(7500, 10000); // 2000 and 1500 RPM
    sample.m_crInjTime = 100;                    // 0.8 ms
    sample.m_gasInjTime = 1400;                  // 2.8 ms

    config.m_tempomatSetup.m_tempomatFlags = 0;
    SReadingsGauges g = readingsGauges(sample, config);
    EXPECT_DOUBLE_EQ(g.rpm, 2000);
    EXPECT_EQ(g.auxRpm, 0);
    EXPECT_EQ(g.crInjTimeMs, 0);
    EXPECT_EQ(g.auxSource, EAuxSpeedSource::Camshaft);
    EXPECT_DOUBLE_EQ(g.gasInjTimeMs, 2.8);

    config.m_tempomatSetup.m_tempomatFlags = 0x80;
    g = readingsGauges(sample, config);
    EXPECT_EQ(g.auxSource, EAuxSpeedSource::CommonRail);
    EXPECT_DOUBLE_EQ(g.auxRpm, 1500);
    EXPECT_DOUBLE_EQ(g.crInjTimeMs, 0.8);

    // The camshaft rule (0x02 or 0x20) wins over the common-rail one.
    for (const std::uint16_t flags : {0x82, 0xA0, 0xA2}) {
        config.m_tempomatSetup.m_tempomatFlags = flags;
        g = readingsGauges(sample, config);
        EXPECT_EQ(g.auxSource, EAuxSpeedSource::Camshaft) << flags;
        EXPECT_DOUBLE_EQ(g.auxRpm, 1500) << flags;
        EXPECT_EQ(g.crInjTimeMs, 0) << flags;
    }
}

TEST(ReadingsGauges, ShortInjectorTimeAndStoppedCamshaft) {
    CDeviceConfig config;
    config.m_tempomatSetup.m_tempomatFlags = 0x80;
    DiagSample sample = sampleWith(7500, 0);
    sample.m_crInjTime = 0; // below 0.01 ms: shown as 0.001 so the bar is not empty
    EXPECT_DOUBLE_EQ(readingsGauges(sample, config).crInjTimeMs, 0.001);

    sample.m_gasInjTime = 1400;
    config.m_tempomatSetup.m_tempomatFlags = 0x02; // camshaft speed 0: no gas time shown
    EXPECT_EQ(readingsGauges(sample, config).gasInjTimeMs, 0);
    config.m_tempomatSetup.m_tempomatFlags = 0x20; // only bit 0x02 stops it
    EXPECT_DOUBLE_EQ(readingsGauges(sample, config).gasInjTimeMs, 2.8);
}

TEST(ReadingsGauges, PeriodZeroOrFullReadsZero) {
    CDeviceConfig config;
    EXPECT_EQ(readingsGauges(sampleWith(0, 0), config).rpm, 0);
    EXPECT_EQ(readingsGauges(sampleWith(0xFFFF, 0), config).rpm, 0);
}

TEST(ReadingsGauges, SignalsPressuresTemperaturesAndVoltage) {
    CDeviceConfig config;
    config.m_devInfo.m_deviceID = 25;
    config.m_devInfo.m_version = 0x12F;
    config.m_devInfo.m_flags1 = 0x08; // scale 8.5 for signals 5-8, never for 1 and 3
    DiagSample sample = sampleWith(11000, 11000);
    sample.m_signal[0] = 200;
    sample.m_signal[2] = 300;
    sample.m_vccRaw = 66;
    sample.m_exhaustTempr = 400;
    sample.m_pressureRaw = 112;
    const SReadingsGauges g = readingsGauges(sample, config);
    EXPECT_NEAR(g.mapSensorVolts, 200 * 0.003226 * 4.636, 1e-9);
    EXPECT_NEAR(g.mafVolts, 300 * 0.003226 * 4.636, 1e-9);
    EXPECT_NEAR(g.supplyVolts, 66 * 5.0 / 255 * 11, 1e-9);
    EXPECT_EQ(g.exhaustTemperature, 400);
    EXPECT_NEAR(g.pressureBar, (112 / 255.0 + 0.00842) / 0.002421 / 100, 1e-9);
}

TEST(FuelLevel, RisingAndFallingSensors) {
    SSensorsSetup rising;
    rising.m_fuelFull = 60;
    rising.m_fuelHgw = 35;
    rising.m_fuelHalf = 15;
    rising.m_fuelQuarter = 8;
    EXPECT_EQ(fuelLevel(61, rising), 4);
    EXPECT_EQ(fuelLevel(60, rising), 3); // beyond means strictly beyond
    EXPECT_EQ(fuelLevel(16, rising), 2);
    EXPECT_EQ(fuelLevel(9, rising), 1);
    EXPECT_EQ(fuelLevel(8, rising), 0);

    SSensorsSetup falling;
    falling.m_fuelFull = 10;
    falling.m_fuelHgw = 40;
    falling.m_fuelHalf = 80;
    falling.m_fuelQuarter = 120;
    EXPECT_EQ(fuelLevel(5, falling), 4);
    EXPECT_EQ(fuelLevel(10, falling), 3);
    EXPECT_EQ(fuelLevel(79, falling), 2);
    EXPECT_EQ(fuelLevel(100, falling), 1);
    EXPECT_EQ(fuelLevel(200, falling), 0);
}

TEST(ConsoleBlink, GasLevelAndTwoIndependentPhases) {
    CConsoleBlink blink;
    DiagSample sample = sampleWith(11000, 0);
    sample.m_fuelMode = kFuelModeGas;
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Gas2);

    sample.m_fuelMode = kFuelModeDiesel;
    sample.m_switchState = 1;
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Lit); // the first update lights it
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Diesel);
    sample.m_switchState = 4; // a phase of its own: starts lit too
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Lit);
    sample.m_switchState = 1;
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Lit);
    sample.m_switchState = 0;
    EXPECT_EQ(blink.next(sample, 2), EConsolePicture::Diesel);
}

TEST(Consumption, Formulas) {
    CDeviceConfig config;
    config.m_base.m_pressureRef = 120; // q = 1.2
    config.m_base.m_advancedFlags = 0;
    config.m_adv.m_injMounted = 4;
    DiagSample sample = sampleWith(10000, 0);
    sample.m_gasInjTime = 2000; // 4 ms: beyond 2 ms the opening time is taken off

    // C = 0: half the first counter.
    SConsumption used = consumption({100000, 7, 0}, sample, config);
    const double lpg = 2.6e-6 * 2 * 0.7;
    EXPECT_NEAR(used.totalLitres, 1.2 * (100000 * 0.002 * 0.5) * lpg, 1e-12);
    EXPECT_NEAR(used.litresPerHour, 4.0 * (2000 - 500) / 10000 * 1.2 * lpg * 3600000, 1e-9);

    // t / C above 2: C is taken off instead.
    used = consumption({100000, 0, 50}, sample, config);
    EXPECT_NEAR(used.totalLitres, 1.2 * (200 - 50) * lpg, 1e-12);
    // t / C not above 2: half again.
    used = consumption({100000, 0, 100}, sample, config);
    EXPECT_NEAR(used.totalLitres, 1.2 * 100 * lpg, 1e-12);

    // Short injection times, and CNG with its own factor and constants.
    sample.m_gasInjTime = 800; // 1.6 ms
    config.m_base.m_advancedFlags = 0x40;
    used = consumption({0, 0, 0}, sample, config);
    EXPECT_NEAR(used.litresPerHour, 4.0 * 800 * 0.25 / 10000 * 0.6 * 2.4e-6 * 1.4 * 0.7 * 3600000,
                1e-9);

    // A period of 0 gives no per-cycle quantity.
    sample.m_rpmPeriod = 0;
    EXPECT_EQ(consumption({0, 0, 0}, sample, config).litresPerHour, 0);
}

TEST(ReadingsCountdowns, PanelErrorsAndConsumptionPeriods) {
    CReadingsCountdowns countdowns;
    std::string panel, errors, usage;
    for (int tick = 1; tick <= 18; ++tick) {
        panel += countdowns.fuelLevelDue() ? 'x' : '.';
        errors += countdowns.errorsDue() ? 'x' : '.';
        usage += countdowns.consumptionDue() ? 'x' : '.';
    }
    EXPECT_EQ(panel, "..x..x..x..x..x..x");
    EXPECT_EQ(errors, ".......x.......x..");
    EXPECT_EQ(usage, "........x........x");
}

TEST(ReadingsLabels, RewrittenOnlyOnChange) {
    CReadingsLabels labels;
    EXPECT_FALSE(labels.modeChange(kFuelModeDiesel)); // already reads "DIESEL"
    EXPECT_STREQ(*labels.modeChange(kFuelModeGas), "GAZ");
    EXPECT_FALSE(labels.modeChange(kFuelModeGas));
    EXPECT_STREQ(*labels.modeChange(0), "DIESEL");

    EXPECT_FALSE(labels.cruiseChange(0x0000));
    EXPECT_FALSE(labels.cruiseChange(0x0100)); // only bit 0 counts
    EXPECT_STREQ(*labels.cruiseChange(0x0001), "TEMPOMAT");
    EXPECT_FALSE(labels.cruiseChange(0x0003));
    EXPECT_STREQ(*labels.cruiseChange(0x0000), "");
}

} // namespace
} // namespace torva
